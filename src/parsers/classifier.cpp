// The classifier's fixed order of tests; each language folder holds its phrase table.
#include "classifier.h"

namespace qla {

LineKind ClassifyWith(const ClassifierLanguage& language, std::string_view line) {
    std::uint32_t killPhrases = 0;
    return ClassifyWith(language, line, killPhrases);
}

LineKind ClassifyWith(const ClassifierLanguage& language, std::string_view line,
                      std::uint32_t& killPhrases) {
    killPhrases = 0;
    // Most lines of a log are engine output without the prefix; they are decided at once.
    if (!StartsWithBytes(line, kSkipNotify)) {
        return LineKind::None;
    }
    if (StartsWithBytes(line, "[skipnotify]server:")) {
        return LineKind::Server;
    }
    if (StartsWithBytes(line, "[skipnotify]:")) {
        return LineKind::VoiceSay;
    }
    const std::uint32_t kills = language.KillPhrases.Mask(line);
    killPhrases = kills;
    const std::uint32_t beforeTeamkill = (std::uint32_t{1} << language.KillsBeforeTeamkill) - 1;
    if ((kills & beforeTeamkill) != 0) {
        return LineKind::Kill;
    }
    if (ContainsBytes(line, language.TeamkillPhrase)) {
        return LineKind::Teamkill;
    }
    if (kills != 0) {
        return LineKind::Kill;
    }
    if (language.DeathPhrases.ContainsAny(line)) {
        return LineKind::Died;
    }
    if (FindByte(line, ':') != std::string_view::npos) {
        if (StartsWithBytes(line, language.LtSayPrefix)) {
            return LineKind::LtSay;
        }
        if (StartsWithBytes(line, "[skipnotify]Server:")) {
            return LineKind::Server;
        }
        if (StartsWithBytes(line, language.ComplaintPrefix)) {
            return LineKind::Complaint;
        }
        if (StartsWithBytes(line, "[skipnotify]^1Spam Protection^7:")) {
            return LineKind::Spam;
        }
        if (ContainsBytes(line, "timed out")) {
            return LineKind::TimeOut;
        }
        return LineKind::Say;
    }
    // "disconnected" is plain ASCII, so its last 12 characters are its last 12 bytes.
    if (EndsWithBytes(line, "disconnected")) {
        return LineKind::Disconnect;
    }
    if (ContainsBytes(line, "timed out")) {
        return LineKind::TimeOut;
    }
    if (ContainsBytes(line, language.RenamePhrase)) {
        return LineKind::Rename;
    }
    return LineKind::None;
}

} // namespace qla
