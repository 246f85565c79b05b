// Lines written with an erased player's pseudonym: his name gives way wherever the parsers read
// a player's name of his key and wherever a chat or other line holds it as text, case aside;
// other players' names and the lines' fixed words stay, and so do lines that do not name him.
#include "core/names.h"
#include "db/erased_names.h"
#include "db/line_pseudonyms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla::db {
namespace {

constexpr std::string_view kSalt = "5a17";

ErasedNames Erasing(const std::vector<std::string>& names) {
    std::vector<ErasedName> erased;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string key = IdentityKey(names[i]);
        erased.push_back({KeyHashOf(kSalt, key), WindowHashOf(kSalt, key), key.size(),
                          PseudonymText(static_cast<std::int64_t>(i) + 1)});
    }
    return ErasedNames(std::string(kSalt), std::move(erased));
}

// The lines as an import would store them, or as they were when nothing changed.
std::string Written(std::string_view lines, const ErasedNames& names,
                    PseudonymReading reading = {}) {
    std::string out;
    return PseudonymiseLines(lines, names, reading, out) > 0 ? out : std::string(lines);
}

TEST(LinePseudonyms, AnErasedNameGivesWayInPlayersPlacesAndInTexts) {
    const ErasedNames bob = Erasing({"Bob"});
    // Killer, victim, speaker and a mention in a message; Bobby is another player.
    EXPECT_EQ(Written("[skipnotify]Bob^7 was killed by Bobby^7's MP40\n", bob),
              "[skipnotify]erased player 1^7 was killed by Bobby^7's MP40\n");
    EXPECT_EQ(Written("[skipnotify]Bobby^7 was killed by ^1B^2ob^7's MP40\r\n", bob),
              "[skipnotify]Bobby^7 was killed by erased player 1^7's MP40\r\n");
    EXPECT_EQ(Written("[skipnotify]Bobby^7: ^2well played BOB, gg\n", bob),
              "[skipnotify]Bobby^7: ^2well played erased player 1, gg\n");
    // The colour codes in front are part of the name, the trailing ones the line's.
    EXPECT_EQ(Written("[skipnotify]: ^3Bob^7 (Docks): ^2Medic!\n", bob),
              "[skipnotify]: erased player 1^7 (Docks): ^2Medic!\n");
    // A line of no other kind, and a rename.
    EXPECT_EQ(Written("[skipnotify]Bob^7 entered the game\n", bob),
              "[skipnotify]erased player 1^7 entered the game\n");
    EXPECT_EQ(Written("[skipnotify]Bob^7 renamed to Robert\n", bob),
              "[skipnotify]erased player 1^7 renamed to Robert\n");
    // A text holds his name wherever its letters are, inside a longer word too.
    EXPECT_EQ(Written("bobbing along\n", bob), "erased player 1bing along\n");
    // Lines that do not name him are kept byte for byte: no change is reported.
    std::string out;
    EXPECT_EQ(
        PseudonymiseLines("[skipnotify]Bobby^7 was killed by Al^7's MP40\nbo b\n", bob, {}, out),
        0u);
}

TEST(LinePseudonyms, ANameThatIsAlsoAWordLeavesTheLinesWordsAlone) {
    const ErasedNames was = Erasing({"Was"});
    EXPECT_EQ(Written("[skipnotify]Was^7 was killed by Al^7's MP40\n", was),
              "[skipnotify]erased player 1^7 was killed by Al^7's MP40\n");
    // In a chat's text the word is his name as much as anything else.
    EXPECT_EQ(Written("[skipnotify]Al^7: ^2that was close\n", was),
              "[skipnotify]Al^7: ^2that erased player 1 close\n");
}

TEST(LinePseudonyms, LineEndsMarksAndWindows1252LinesAreKept) {
    const ErasedNames bob = Erasing({"bob"});
    // A UTF-8 mark and CR line ends stay; only the changed line is written anew, as the UTF-8 the
    // reader reads a Windows-1252 line as.
    EXPECT_EQ(
        Written("\xEF\xBB\xBF[skipnotify]Bob^7: ^2caf\xE9\r[skipnotify]Al^7: ^2caf\xE9\r\n", bob),
        "\xEF\xBB\xBF[skipnotify]erased player 1^7: ^2caf\xC3\xA9\r"
        "[skipnotify]Al^7: ^2caf\xE9\r\n");
    // A last line without its line end keeps lacking it.
    EXPECT_EQ(Written("[skipnotify]Bob^7: ^2hi", bob), "[skipnotify]erased player 1^7: ^2hi");
}

TEST(LinePseudonyms, PseudonymsAreNoOnesNameAndSeveralNamesEachHaveTheirs) {
    const ErasedNames two = Erasing({"Bob", "player"});
    EXPECT_EQ(Written("[skipnotify]Player^7: ^2erased player 7 and bob and PLAYER\n", two),
              "[skipnotify]erased player 2^7: ^2erased player 7 and erased player 1 and "
              "erased player 2\n");
}

TEST(ErasedNames, TextsAreSearchedCaseAsideInWholeCharacters) {
    const ErasedNames names = Erasing({"Björn", "ß"});
    std::vector<ErasedTextMatch> found;
    names.FindInText("gg BJÖRN, gg Björnbär", found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Begin, 3u);
    EXPECT_EQ(found[0].End, 9u); // Ö is two bytes
    EXPECT_EQ(*found[0].Pseudonym, "erased player 1");
    EXPECT_EQ(found[1].Begin, 14u);
    // The key of "ß" is "ss": the text's "SS" is it, and so is its own "ß".
    names.FindInText("Straße STRASSE", found);
    EXPECT_EQ(found.size(), 2u);
    // Only the hashes were given: a different salt finds nothing.
    std::vector<ErasedName> other = names.Names();
    EXPECT_EQ(ErasedNames("other", other).PseudonymOfKey("björn"), nullptr);
    EXPECT_NE(names.PseudonymOfKey("björn"), nullptr);
    EXPECT_EQ(PseudonymNumber("erased player 12"), 12);
    EXPECT_EQ(PseudonymNumber("erased player 012"), 0);
    EXPECT_EQ(PseudonymNumber("Erased Player 1"), 0);
}

} // namespace
} // namespace qla::db
