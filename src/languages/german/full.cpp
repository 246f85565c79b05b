// The German wording for full recognition: the classic obituaries, where the fall accepts the
// ending with one full stop as well as the classic two.
#include "languages/german/german.h"

namespace qla {

namespace {

constexpr DeathEnding kGermanDeaths[] = {
    {" tötete sich selbst.", 16},
    {" tötete sich selbst", 16},
    {" starb durch seine Granate.", 17},
    {" hat sich selbst erledigt.", 18},
    {" starb.", 20},
    {" ist ertrunken.", 21},
    {" stürzte sich zu Tode..", 22},
    {" stürzte sich zu Tode.", 22},
};

constexpr SystemPrefix kGermanSystemPrefixes[] = {
    {"[skipnotify]server:", LineKind::Server},
    {"[skipnotify]Server:", LineKind::Server},
    {"[skipnotify]Pilot:", LineKind::LtSay},
    {"[skipnotify]^1Warnung^7: Beschwerde gegen Sie ingereicht.", LineKind::Complaint},
    {"[skipnotify]^1Spam Protection^7:", LineKind::Spam},
};

} // namespace

const FullLanguage& GermanFullLanguage() {
    static const FullLanguage language = [] {
        const KillLanguage& classic = GermanKillLanguage();
        FullLanguage full{
            .KillVerbs = classic.Verbs,
            .KillWeapons = {},
            .Possessive = " - ",
            .TeamkillPhrase = "STARB DURCH TEAMKAMERAD",
            .Deaths = kGermanDeaths,
            .RenamePhrase = " hat sich umbenannt in ",
            .SystemPrefixes = kGermanSystemPrefixes,
        };
        for (std::size_t i = 0; i < classic.Verbs.size(); ++i)
            full.KillWeapons[i] = classic.Weapons[i];
        return full;
    }();
    return language;
}

} // namespace qla
