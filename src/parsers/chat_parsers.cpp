// Voice chat and text chat; the same for both log languages. Every cut is clamped,
// so a malformed chat line is stored with whatever name and text the cuts leave.
#include "core/byte_search.h"
#include "core/text.h"
#include "parsers.h"

namespace qla {

namespace {

constexpr std::string_view kUnknownLocation = "Unknown";

// Located text chat: "[skipnotify](Name^7) (Location): ^5message".
void ParseLocatedTextChat(AnalysisStore& store, std::string_view line) {
    std::string_view rest = DropFirstChars(line, 13);
    std::string_view name;
    if (const std::size_t at = FindBytes(rest, "^7) ("); at != std::string_view::npos) {
        name = rest.substr(0, at);
        rest = rest.substr(at + 5);
    }
    std::string_view location;
    std::string_view remainder = rest;
    if (const std::size_t at = FindBytes(rest, "):"); at != std::string_view::npos) {
        location = rest.substr(0, at);
        // Skip "):" and the "^" of the colour code, and the blank between them when the line
        // has one right there. Deciding by this place, not by "): ^5" anywhere in the line,
        // keeps a message that itself holds "): ^5" whole.
        const std::string_view after = rest.substr(at + 2);
        remainder = DropFirstChars(after, StartsWithBytes(after, " ^5") ? 2 : 1);
    }
    // The remainder starts with the code's second character, the "5"; the message follows.
    const std::string_view message = DropFirstChars(remainder, 1);

    const PlayerIndex player = store.FindOrAddPlayer(name);
    store.RecordTextChat(player, message, location, true);
}

// Plain text chat: "[skipnotify]Name^7: ^2message", to everybody.
void ParsePlainTextChat(AnalysisStore& store, std::string_view line) {
    const std::string_view rest = DropFirstChars(line, 12);
    std::string_view name;
    std::string_view message;
    if (const std::size_t at = FindBytes(rest, "^7: ^2"); at != std::string_view::npos) {
        name = rest.substr(0, at);
        message = rest.substr(at + 6);
    } else {
        message = DropFirstChars(rest, 6);
    }
    const PlayerIndex player = store.FindOrAddPlayer(name);
    store.RecordTextChat(player, message, kUnknownLocation, false);
}

} // namespace

// "[skipnotify]: Name^7 (Location): ^2message?" — one blank before the name for a message to
// all, two for a team message; the line's last character is not part of the message.
void ParseVoiceChatLine(AnalysisStore& store, std::string_view line) {
    const std::string_view rest = DropFirstChars(line, 13);
    const std::size_t close = RFindBytes(line, "):");

    std::string_view rawMessage;
    std::string_view window; // the first i characters of the rest, i the position of "):"
    if (close != std::string_view::npos) {
        rawMessage = DropLastChars(DropFirstChars(line.substr(close + 2), 1), 1);
        window = FirstChars(rest, CharCount(line.substr(0, close)) + 1);
    } else {
        // Without "):" there is no location; the rest is read as if "): " stood before it.
        rawMessage = DropLastChars(rest, 1);
    }
    const bool isTeam = !StartsWithBytes(rawMessage, "^2");
    const std::string_view message = DropFirstChars(rawMessage, 2);

    std::string_view head = window;
    if (const std::size_t at = RFindBytes(window, "):"); at != std::string_view::npos) {
        head = window.substr(0, at);
    }
    std::string_view location;
    std::string_view name = window;
    if (const std::size_t open = RFindByte(head, '('); open != std::string_view::npos) {
        location = head.substr(open + 1);
        name = DropLastChars(head.substr(0, open), 1);
    }
    name = DropLastChars(DropFirstChars(name, isTeam ? 2 : 1), 2);

    const PlayerIndex player = store.FindOrAddPlayer(name);
    store.RecordVoiceChat(player, message, location, isTeam);
}

void ParseTextChatLine(AnalysisStore& store, std::string_view line) {
    const bool located = StartsWithBytes(line, "[skipnotify](") &&
                         (ContainsBytes(line, "):^5") || ContainsBytes(line, "): ^5"));
    if (located) {
        ParseLocatedTextChat(store, line);
    } else {
        ParsePlainTextChat(store, line);
    }
}

} // namespace qla
