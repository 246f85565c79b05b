// Writes one log line of a chosen event in the game's own layout.
#pragma once

#include <cstdint>
#include <string>

#include "name_pool.h"
#include "phrases.h"
#include "random.h"

namespace loggen {

enum class Event : std::uint8_t {
    Unprefixed,     // engine output, never an event
    EmptyLine,      // engine output too
    EchoedObituary, // the console's copy of an obituary, without the prefix
    Kill,
    Suicide,
    Teamkill,
    GlobalVoice,
    TeamVoice,
    LocatedChat,        // team chat "(<name>^7) (<location>): ^5<text>"
    LocatedChatNoBlank, // the same without the blank after the colon
    PlainChat,
    Rename,
    FireMission,
    LowerServer, // "server:" is tested before any phrase
    UpperServer, // "Server:" only after them
    Complaint,
    Spam,
    TimedOut,       // "<name>^7 timed out", no colon
    TimedOutNotice, // the same with a colon in the line
    Disconnected,
    Entered, // prefixed, but nothing the analysis counts
    Hostile, // malformed or adversarial line (hostile mode only)
};

class LineComposer {
  public:
    LineComposer(const Phrases& phrases, NamePool& players, Random& rng, bool hostile);

    // Replaces line with a line of the event, UTF-8 encoded (hostile bytes excepted).
    void compose(Event event, std::string& line);

    // Voice lines end with their message, as the game really writes them (full style).
    void endVoiceAtMessage() { voiceExtraChar_ = false; }

  private:
    const std::string& player();
    void appendKill(std::string& line);
    void appendVoice(std::string& line, bool team);
    void appendLocatedChat(std::string& line, bool blank);

    const Phrases& phrases_;
    NamePool& players_;
    Random& rng_;
    bool hostile_;
    unsigned killWeightTotal_ = 0;
    bool voiceExtraChar_ = true;
};

} // namespace loggen
