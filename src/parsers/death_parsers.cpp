// The suicide and teamkill algorithms. A suicide is a death of one player by a cause 16-22; a
// teamkill counts Deaths(23) for the victim and a teamkill for the killer, and neither total.
#include "core/text.h"
#include "obituary_language.h"

namespace qla {

void ParseSuicideLineWith(const SuicideLanguage& language, AnalysisStore& store,
                          std::string_view line) {
    const std::string_view text = WithoutSkipNotify(line);
    const int phrase = language.Phrases.FirstIndex(text);
    if (phrase < 0) {
        return; // the classifiers never pass such a line: there is no cause to count
    }
    // The suffix is cut by its length wherever the phrase stood; the German suffixes hold
    // "ö" and "ü", so the length is counted in characters.
    const std::string_view suffix = language.Suffixes[phrase];
    const PlayerIndex player = store.FindOrAddPlayer(DropLastChars(text, CharCount(suffix)));
    store.RecordSuicide(player, language.Causes[phrase]);
}

void ParseTeamkillLineWith(const TeamkillLanguage& language, AnalysisStore& store,
                           std::string_view line) {
    const std::string_view text = WithoutSkipNotify(line);
    const std::size_t at = FindBytes(text, language.Marker);
    if (at == std::string_view::npos) {
        return; // the classifiers never pass such a line: nobody to count
    }
    // Three characters stand between the victim and the marker (the "^7 " the game writes).
    const std::string_view victim = DropLastChars(text.substr(0, at), 3);
    const std::string_view killer =
        DropFirstChars(text.substr(at), CharCount(language.MarkerWithCode));

    const PlayerIndex victimIndex = store.FindOrAddPlayer(victim);
    const PlayerIndex killerIndex = store.FindOrAddPlayer(killer);
    store.RecordTeamkill(killerIndex, victimIndex);
}

} // namespace qla
