// Rename lines: both names cut with the chat parsers' care, malformed lines join nothing, and a
// rename files no player and changes no count.
#include "analysis/analysis.h"
#include "languages/english/english.h"
#include "languages/german/german.h"
#include "parsers/rename_parser.h"

#include <gtest/gtest.h>

#include <optional>

namespace qla {
namespace {

struct RenameCase {
    std::string_view Line;
    std::string_view Phrase;
    std::optional<std::pair<std::string_view, std::string_view>> Names;
};

TEST(SplitRenameLine, SplitsBothLanguagesAndRefusesWhatItCannotSplit) {
    using Names = std::pair<std::string_view, std::string_view>;
    const std::string_view en = kEnglishRenamePhrase;
    const std::string_view de = kGermanRenamePhrase;
    const RenameCase cases[] = {
        {"[skipnotify]Bob^7 renamed to Al", en, Names{"Bob", "Al"}},
        {"[skipnotify]^1Bob^7 renamed to ^2Al^7", en, Names{"^1Bob", "^2Al"}},
        {"[skipnotify]  Big Al ^7 renamed to  Bob  ", en, Names{"Big Al ", "Bob"}},
        {"Bob^7 renamed to Al", en, Names{"Bob", "Al"}}, // without the prefix
        {"[skipnotify]Jürgen^7 hat sich umbenannt in Jörg", de, Names{"Jürgen", "Jörg"}},
        {"[skipnotify]Bob^7 renamed to Bob", en, Names{"Bob", "Bob"}},
        {"[skipnotify]renamed to Al", en, std::nullopt},        // no old name
        {"[skipnotify]Bob^7 renamed to", en, std::nullopt},     // no new name
        {"[skipnotify]Bob^7 renamed to ^7 ", en, std::nullopt}, // only a colour code
        {"[skipnotify]^7 renamed to Al", en, std::nullopt},
        {"[skipnotify]A renamed to B renamed to C", en, std::nullopt}, // which phrase?
        {"[skipnotify]Bob^7 renamed to Al", de, std::nullopt},         // the other language
        {"", en, std::nullopt},
        {"[skipnotify]Bob renamed to Al", "", std::nullopt},
    };
    for (const RenameCase& c : cases) {
        const auto names = SplitRenameLine(c.Line, c.Phrase);
        ASSERT_EQ(names.has_value(), c.Names.has_value()) << c.Line;
        if (names) {
            EXPECT_EQ(names->OldName, c.Names->first) << c.Line;
            EXPECT_EQ(names->NewName, c.Names->second) << c.Line;
        }
    }
}

TEST(RenameLines, AreKeptByNameWithoutFilingPlayersOrCounting) {
    for (const auto& [language, phrase] :
         {std::pair{LogLanguage::English, "renamed to"},
          std::pair{LogLanguage::German, "hat sich umbenannt in"}}) {
        AnalysisStore store;
        store.LogLines = LogLineList::FromLines({
            "[skipnotify]Bob^7 " + std::string(phrase) + " Robert",
            "[skipnotify]Robert^7 " + std::string(phrase) + " ^1Bob",
            "[skipnotify]Zed^7 " + std::string(phrase),
            "[skipnotify]Bob^7: ^2hi",
        });
        const AnalysisTotals totals = AnalyzeLog(store, language);
        EXPECT_EQ(totals.Total, 4);
        EXPECT_EQ(totals.Unknown, 0) << "a malformed rename is still a rename line";
        ASSERT_EQ(store.PlayerCount(), 1); // only the speaker
        EXPECT_EQ(store.Players[1].Name, "Bob");
        ASSERT_EQ(store.Renames.size(), 3u);
        EXPECT_EQ(store.Renames[1].OldName, "Bob");
        EXPECT_EQ(store.Renames[1].NewName, "Robert");
        EXPECT_EQ(store.Renames[2].OldName, "Robert");
        EXPECT_EQ(store.Renames[2].NewName, "^1Bob");
        EXPECT_EQ(store.UnknownLines.size(), 1u);

        AnalyzeLog(store, language); // a new run forgets the earlier renames
        EXPECT_EQ(store.Renames.size(), 3u);
    }
}

} // namespace
} // namespace qla
