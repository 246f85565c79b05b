// The English wording for full recognition: the classic obituaries, the newer game versions'
// self and world deaths and the artillery kill.
#include "languages/english/english.h"

namespace qla {

namespace {

constexpr DeathEnding kEnglishDeaths[] = {
    {" killed himself.", 16},
    {" dove on his own grenade.", 17},
    {" obliterated himself.", 18},
    {" vaporized himself.", 19},
    {" died.", 20},
    {" drowned.", 21},
    {" fell to his death.", 22},
    {" dynamited himself to pieces.", 24},
    {" was crushed.", 25},
    {" was killed.", 26},
    {" was riddled by machinegun fire.", 27},
    {" was riddled by machinegun fire", 27},
    {" killed herself.", 28},
    {" dove on her own grenade.", 29},
    {" fired-for-effect on himself.", 30},
    {" slit his own throat.", 31},
};

constexpr SystemPrefix kEnglishSystemPrefixes[] = {
    {"[skipnotify]server:", LineKind::Server},
    {"[skipnotify]Server:", LineKind::Server},
    {"[skipnotify]Fire Mission:", LineKind::LtSay},
    {"[skipnotify]Pilot:", LineKind::LtSay},
    {"[skipnotify]^1Warning^7: Complaint filed against you.", LineKind::Complaint},
    {"[skipnotify]^1Spam Protection^7:", LineKind::Spam},
};

constexpr WeaponId kAirstrike = 14;

} // namespace

const FullLanguage& EnglishFullLanguage() {
    // The classic verbs keep their weapons and tails; the artillery kill is an airstrike.
    static const FullLanguage language = [] {
        const KillLanguage& classic = EnglishKillLanguage();
        FullLanguage full{
            .KillVerbs = {classic.Verbs[0], classic.Verbs[1], classic.Verbs[2], classic.Verbs[3],
                          classic.Verbs[4], classic.Verbs[5], classic.Verbs[6], "was shelled by"},
            .KillWeapons = {},
            .Possessive = "'s ",
            .TeamkillPhrase = "WAS KILLED BY TEAMMATE",
            .Deaths = kEnglishDeaths,
            .RenamePhrase = " renamed to ",
            .SystemPrefixes = kEnglishSystemPrefixes,
        };
        for (std::size_t i = 0; i < classic.Verbs.size(); ++i)
            full.KillWeapons[i] = classic.Weapons[i];
        full.KillWeapons[classic.Verbs.size()] = {"Airstrike", WeaponDisplayName(kAirstrike),
                                                  kAirstrike};
        return full;
    }();
    return language;
}

} // namespace qla
