// The user's aliases: adding and splitting, the aliases file, the list of players and the
// suggestions.
#include "analysis/alias_file.h"
#include "analysis/alias_suggestions.h"
#include "analysis/log_names.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qla {
namespace {

TEST(AliasListTest, AddKeepsOneJoinPerPairAndRefusesEmptyOrSelfJoins) {
    AliasList aliases;
    EXPECT_EQ(aliases.Add("Bob^7", " Robert "), "");
    EXPECT_EQ(aliases.Add("Robert", "Bob"), ""); // the same join the other way round
    EXPECT_EQ(aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Bob", "Robert"}}));
    EXPECT_EQ(aliases.Add("^7", "Bob"), "a player name is empty");
    EXPECT_EQ(aliases.Add("Bob", "Bob^7"), "'Bob' cannot be joined to itself");
    EXPECT_EQ(aliases.Entries().size(), 1u);
}

TEST(AliasListTest, SplitUndoesTheUsersJoinsOrElseHoldsTheNameApart) {
    AliasList aliases;
    ASSERT_EQ(aliases.Add("Bob", "Robert"), "");
    ASSERT_EQ(aliases.Add("Al", "Bob"), "");
    ASSERT_EQ(aliases.Add("Al", "Zed"), "");
    EXPECT_EQ(aliases.Split("Bob"), "");
    EXPECT_EQ(aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Al", "Zed"}}));
    EXPECT_FALSE(aliases.IsSplit("Bob"));
    EXPECT_EQ(aliases.Split("Bob"), ""); // no join left: now held apart
    EXPECT_TRUE(aliases.IsSplit("Bob"));
    EXPECT_EQ(aliases.Split("Bob"), "");
    EXPECT_EQ(aliases.Entries().size(), 2u) << "a split is kept once";
    EXPECT_EQ(aliases.Split(""), "a player name is empty");
    // A name held apart and then joined by hand: splitting it undoes the join and keeps the
    // split it had.
    ASSERT_EQ(aliases.Add("Bob", "Robert"), "");
    EXPECT_EQ(aliases.Split("Bob"), "");
    EXPECT_TRUE(aliases.IsSplit("Bob"));
    EXPECT_EQ(aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Al", "Zed"},
                                                          {AliasKind::Split, "Bob", ""}}));
}

TEST(AliasFileTest, FormatAndParseGiveTheListBack) {
    AliasList aliases;
    ASSERT_EQ(aliases.Add("^1Big Al", "Ärger"), "");
    ASSERT_EQ(aliases.Split("bob"), "");
    const std::string text = FormatAliases(aliases);
    EXPECT_EQ(text.substr(text.find('\n') + 1), "join\t^1Big Al\tÄrger\nsplit\tbob\n");
    const AliasFileResult read = ParseAliases(text);
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_EQ(read.Aliases.Entries(), aliases.Entries());
    // Line ends of either kind, blank lines and comments; names normalised.
    const AliasFileResult loose = ParseAliases("\r\n# mine\r\njoin\tBob^7\t Al \r\n\nsplit\tZ");
    ASSERT_TRUE(loose.Ok()) << loose.Error;
    EXPECT_EQ(loose.Aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Bob", "Al"},
                                                                {AliasKind::Split, "Z", ""}}));
}

// Editors on Windows begin a UTF-8 file with a byte-order mark; without stripping it the first
// line would be no known kind, or a comment no comment.
TEST(AliasFileTest, AByteOrderMarkIsNoPartOfTheFirstLine) {
    const AliasFileResult join = ParseAliases("\xEF\xBB\xBFjoin\tBob\tAl\r\nsplit\tZ\r\n");
    ASSERT_TRUE(join.Ok()) << join.Error;
    EXPECT_EQ(join.Aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Bob", "Al"},
                                                               {AliasKind::Split, "Z", ""}}));
    const AliasFileResult comment = ParseAliases("\xEF\xBB\xBF# mine\nsplit\tZ\n");
    ASSERT_TRUE(comment.Ok()) << comment.Error;
    EXPECT_EQ(comment.Aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Split, "Z", ""}}));
    // Only at the very start: elsewhere the bytes are part of a name.
    const AliasFileResult inside = ParseAliases("split\t\xEF\xBB\xBFZ\n");
    ASSERT_TRUE(inside.Ok()) << inside.Error;
    EXPECT_NE(inside.Aliases.Entries().front().Name, "Z");
    const std::filesystem::path file = test::ScratchDir() / "bom-aliases.txt";
    std::ofstream(file, std::ios::binary) << "\xEF\xBB\xBFjoin\tBob\tAl\n";
    const AliasFileResult read = ReadAliasFile(file.string(), false);
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_EQ(read.Aliases.Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Bob", "Al"}}));
}

TEST(AliasFileTest, MalformedLinesAreRefusedWithTheirNumber) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"join\tBob\n", "line 1: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME"},
        {"# x\njoin Bob Al\n", "line 2: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME"},
        {"split\tA\tB\n", "line 1: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME"},
        {"JOIN\tA\tB\n", "line 1: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME"},
        {"join\t^7\tBob\n", "line 1: a player name is empty"},
        {"split\t \n", "line 1: a player name is empty"},
        {"join\tB\xFF\tA\n", "the file is not UTF-8 text"},
    };
    for (const auto& [text, error] : cases)
        EXPECT_EQ(ParseAliases(text).Error, error) << text;
}

TEST(AliasFileTest, ReadsAndReplacesFiles) {
    const std::filesystem::path dir = test::ScratchDir();
    const std::string path = (dir / "aliases.txt").string();
    EXPECT_EQ(ReadAliasFile(path, false).Error, "the aliases file does not exist: " + path);
    EXPECT_TRUE(ReadAliasFile(path, true).Ok());
    AliasList aliases;
    ASSERT_EQ(aliases.Add("Bob", "Al"), "");
    ASSERT_EQ(WriteAliasFile(path, aliases), "");
    EXPECT_EQ(ReadAliasFile(path, false).Aliases.Entries(), aliases.Entries());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    ASSERT_EQ(aliases.Add("Tab\there", "Al"), "");
    EXPECT_EQ(WriteAliasFile(path, aliases),
              "the aliases file cannot hold a name with a tab or a line break");
    EXPECT_EQ(ReadAliasFile(path, false).Aliases.Entries().size(), 1u) << "the old file stays";
    EXPECT_FALSE(WriteAliasFile((dir / "missing" / "aliases.txt").string(), {}).empty());
    EXPECT_EQ(ReadAliasFile(dir.string(), false).Error,
              "the aliases file cannot be read: " + dir.string());
}

LogNames Log(std::vector<std::string> names,
             std::vector<std::pair<std::string, std::string>> renames = {},
             std::vector<std::int64_t> lines = {}) {
    return LogNames{std::move(names), std::move(lines), std::move(renames)};
}

TEST(ListPlayersTest, ShowsEveryPlayerWithAllNamesAndTheNameOfMostLines) {
    AliasList aliases;
    ASSERT_EQ(aliases.Add("Robert", "Zed"), "");
    const std::vector<ListedPlayer> players = ListPlayers(
        {Log({"bob", "Al"}, {{"Bob", "Robert"}}, {1, 5}), Log({"BOB"}, {}, {3})}, aliases);
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].DisplayName, "BOB"); // 3 lines over the logs against bob's 1
    // The logs' names first, then the renames', then the aliases'.
    EXPECT_EQ(players[0].Names, (std::vector<std::string>{"bob", "BOB", "Bob", "Robert", "Zed"}));
    EXPECT_EQ(players[1].DisplayName, "Al");
}

TEST(SuggestAliasesTest, ClanTagsTrailingNumbersAndSplitRenamesWithTheirReasons) {
    AliasList aliases;
    ASSERT_EQ(aliases.Split("Robert"), "");
    const std::vector<AliasSuggestion> suggestions =
        SuggestAliases({Log({"[QV]Viper", "Ghost", "Rob", "Ace"}, {{"Rob", "Robert"}}),
                        Log({"Viper", "^1Ghost2", "{TKS} Ghost", "Ghost", "Robert", "Ac1"})},
                       aliases);
    ASSERT_EQ(suggestions.size(), 4u);
    using Reasons = std::vector<std::string>;
    EXPECT_EQ(suggestions[0].Name, "[QV]Viper");
    EXPECT_EQ(suggestions[0].Other, "Viper");
    EXPECT_EQ(suggestions[0].Reasons,
              (Reasons{"same name apart from a clan tag", "never in the same log"}));
    // Ghost appears in the second log beside ^1Ghost2 and {TKS} Ghost: never "apart".
    EXPECT_EQ(suggestions[1].Name, "Ghost");
    EXPECT_EQ(suggestions[1].Other, "^1Ghost2");
    EXPECT_EQ(suggestions[1].Reasons, (Reasons{"same name apart from a trailing number"}));
    EXPECT_EQ(suggestions[2].Other, "{TKS} Ghost");
    EXPECT_EQ(suggestions[2].Reasons, (Reasons{"same name apart from a clan tag"}));
    EXPECT_EQ(suggestions[3].Name, "Rob");
    EXPECT_EQ(suggestions[3].Other, "Robert");
    EXPECT_EQ(suggestions[3].Reasons,
              (Reasons{"renamed from Rob to Robert in log 1, held apart by a split",
                       "never in the same log"}));
    // "Ace" and "Ac1" share only "ac", too short a base to mean anything.
}

TEST(SuggestAliasesTest, BaseNamesDropTagsNumbersAndTheSeparatorsAroundThem) {
    EXPECT_EQ(WithoutClanTags("[qv]-viper"), "viper");
    EXPECT_EQ(WithoutClanTags("viper (sniper)"), "viper");
    EXPECT_EQ(WithoutClanTags("[unclosed viper"), "[unclosed viper");
    EXPECT_EQ(WithoutTrailingNumber("viper_42"), "viper");
    EXPECT_EQ(WithoutTrailingNumber("1234"), "");
    EXPECT_EQ(WithoutTrailingNumber("viper"), "viper");
}

} // namespace
} // namespace qla
