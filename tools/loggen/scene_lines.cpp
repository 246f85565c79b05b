// Line layouts of the game's console log. Names are followed by "^7" (the game resets the
// colour after every name), and the analyzer's fixed cuts rely on exactly these layouts.
#include "scene_lines.h"

namespace loggen {

void appendKillLine(const Phrases& phrases, const KillForm& form, std::string_view victim,
                    std::string_view killer, std::string& line) {
    line.append(victim).append("^7 ").append(form.verb).append(" ").append(killer).append("^7");
    if (!form.weapon.empty())
        line.append(phrases.possessive).append(form.weapon);
}

void appendSuicideLine(std::string_view player, std::string_view tail, std::string& line) {
    line.append(player).append("^7 ").append(tail);
}

void appendTeamkillLine(const Phrases& phrases, std::string_view victim, std::string_view killer,
                        std::string& line) {
    line.append(victim).append("^7 ").append(phrases.teamkill).append(" ").append(killer);
}

void appendPlainChatLine(std::string_view speaker, std::string_view text, std::string& line) {
    line.append(speaker).append("^7: ^2").append(text);
}

void appendRenameLine(const Phrases& phrases, std::string_view from, std::string_view to,
                      std::string& line) {
    line.append(from).append("^7 ").append(phrases.renamed).append(" ").append(to);
}

void appendEnteredLine(const Phrases& phrases, std::string_view player, std::string& line) {
    line.append(player).append("^7 ").append(phrases.entered);
}

void appendDisconnectedLine(std::string_view player, std::string& line) {
    line.append(player).append("^7 disconnected");
}

void appendVoiceLine(bool team, std::string_view speaker, std::string_view location,
                     std::string_view text, bool extraChar, std::string& line) {
    line.append(": ");
    if (team)
        line.append("(").append(speaker).append("^7)(");
    else
        line.append(speaker).append("^7 (");
    line.append(location).append(team ? "): ^5" : "): ^2").append(text);
    if (extraChar)
        line.append(" ");
}

} // namespace loggen
