// A kill parser handed the classifier's phrases must file exactly what it files when it searches
// the line itself, also for lines holding several kill phrases (in names) in either language.
#include "languages/english/english.h"
#include "languages/german/german.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla {
namespace {

void ExpectSameStores(const AnalysisStore& a, const AnalysisStore& b, const std::string& line) {
    ASSERT_EQ(a.Players.size(), b.Players.size()) << line;
    for (std::size_t p = 0; p < a.Players.size(); ++p) {
        EXPECT_EQ(a.Players[p].Name, b.Players[p].Name) << line;
        EXPECT_EQ(a.Players[p].Kills, b.Players[p].Kills) << line;
        EXPECT_EQ(a.Players[p].Deaths, b.Players[p].Deaths) << line;
    }
    ASSERT_EQ(a.KillEvents.size(), b.KillEvents.size()) << line;
    for (std::size_t e = 0; e < a.KillEvents.size(); ++e) {
        EXPECT_EQ(a.KillEvents[e].Killer, b.KillEvents[e].Killer) << line;
        EXPECT_EQ(a.KillEvents[e].Victim, b.KillEvents[e].Victim) << line;
        EXPECT_EQ(a.KillEvents[e].Weapon(), b.KillEvents[e].Weapon()) << line;
    }
}

TEST(ClassifiedKillTest, EnglishParserFilesTheSameWithTheClassifiersPhrases) {
    const std::vector<std::string> lines = {
        "[skipnotify]Bob^7 was killed by Al^7's MP40",
        "[skipnotify]Bob^7 was stabbed by Al^7's knife",
        "[skipnotify]was killed by^7 was blasted by Al^7's Panzerfaust",
        "[skipnotify]was cooked by^7 was stabbed by was killed by^7's knife",
        "[skipnotify]Ann^7 was perforated by was ventilated by^7's crew-served MG42",
        "[skipnotify]Ann^7 was exploded by Bo^7's grenade was cooked by",
        "[skipnotify]X was blasted by Y^7's support fire",
        "[skipnotify]X was killed by Y^7's rocket"};
    for (const std::string& line : lines) {
        ClassifiedKill kill;
        ASSERT_EQ(ClassifyLine(line, kill), LineKind::Kill) << line;
        AnalysisStore searched, handed;
        ParseKillLine(searched, line);
        ParseKillLine(handed, line, kill);
        ExpectSameStores(searched, handed, line);
    }
}

TEST(ClassifiedKillTest, GermanParserFilesTheSameWithTheClassifiersPhrases) {
    const std::vector<std::string> lines = {
        "[skipnotify]Bob^7 wurde getötet von Al - MP40",
        "[skipnotify]Bob^7 wurde erstochen von Al - Messer",
        "[skipnotify]wurde gerösted von^7 wurde geröstet von Al - Flammenwerfer",
        "[skipnotify]wurde erledigt von^7 wurde erstochen von wurde getötet von - Messer",
        "[skipnotify]Ann^7 wurde durchsiebt von wurde ventiliert von - MG42",
        "[skipnotify]Ann^7 wurde gesprengt von Bo - Granate wurde gerösted von"};
    for (const std::string& line : lines) {
        ClassifiedKill kill;
        ASSERT_EQ(ClassifyGermanLine(line, kill), LineKind::Kill) << line;
        AnalysisStore searched, handed;
        ParseGermanKillLine(searched, line);
        ParseGermanKillLine(handed, line, kill);
        ExpectSameStores(searched, handed, line);
    }
}

} // namespace
} // namespace qla
