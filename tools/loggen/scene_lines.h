// The layouts of the lines that name players, with the names given: the line composer fills
// them with names drawn from its pool, a history of persons with the names they hold.
#pragma once

#include <string>
#include <string_view>

#include "phrases.h"

namespace loggen {

// Every line an event of a player writes starts with it.
inline constexpr std::string_view kEventPrefix = "[skipnotify]";

// "<victim>^7 <verb> <killer>^7<possessive><weapon>" (no prefix: appended to `line`).
void appendKillLine(const Phrases& phrases, const KillForm& form, std::string_view victim,
                    std::string_view killer, std::string& line);
void appendSuicideLine(std::string_view player, std::string_view tail, std::string& line);
void appendTeamkillLine(const Phrases& phrases, std::string_view victim, std::string_view killer,
                        std::string& line);
void appendPlainChatLine(std::string_view speaker, std::string_view text, std::string& line);
void appendRenameLine(const Phrases& phrases, std::string_view from, std::string_view to,
                      std::string& line);
void appendEnteredLine(const Phrases& phrases, std::string_view player, std::string& line);
void appendDisconnectedLine(std::string_view player, std::string& line);
// ": <name>^7 (<loc>): ^2<text>" for all players, ": (<name>^7)(<loc>): ^5<text>" for the team;
// `extraChar`: the game ends a voice line with one more character (classic layout).
void appendVoiceLine(bool team, std::string_view speaker, std::string_view location,
                     std::string_view text, bool extraChar, std::string& line);

} // namespace loggen
