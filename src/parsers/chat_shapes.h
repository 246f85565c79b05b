// The chat lines the game writes, recognised by their shape alone: whatever a message says, a
// line of one of these shapes is chat. Used by full recognition in both log languages.
//
//   [skipnotify]Name^7: ^2message                     text to everybody
//   [skipnotify](Name^7): ^5message                   text to the team, no location
//   [skipnotify](Name^7) (Location): ^5message        text to the team
//   [skipnotify][Name^7]: ^6message                   private text
//   [skipnotify][Name^7] (Location): ^6message        private text with the sender's location
//   [skipnotify]: Name^7 (Location): ^2message        voice to everybody ("^2"), else to the team
//   [skipnotify]: Name ^3(Location): ^2message        the same, location set off by a colour
//   [skipnotify]: (Name^7)(Location): ^5message       voice to the team
//   [skipnotify]: Name^7: ^2message                   voice without location
#pragma once

#include <optional>
#include <string_view>

namespace qla {

struct ChatShape {
    bool Voice = false;
    bool IsTeam = false;       // team and private messages: not said to everybody
    bool Private = false;      // a private text (stored with the team messages)
    std::string_view Name;     // raw, as written: normalise before filing it
    std::string_view Location; // empty when the line names none
    std::string_view Message;  // the whole message after its colour code, less a trailing CR
};

// `line` includes its "[skipnotify]" prefix. Nothing when the line has no chat shape.
std::optional<ChatShape> RecogniseChatShape(std::string_view line);

} // namespace qla
