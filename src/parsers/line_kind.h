// Line kinds that the classifiers of both languages return.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qla {

enum class LineKind : std::uint8_t {
    Kill,       // "kill"
    Teamkill,   // "tk"
    Died,       // "died"
    VoiceSay,   // "vsay"
    Say,        // "say"
    Rename,     // "rename"
    LtSay,      // "lt_say"
    Server,     // "server"
    Complaint,  // "complaint"
    Spam,       // "spam"
    TimeOut,    // "time out"
    Disconnect, // "disconnect"
    None,       // "none"
};

inline constexpr std::size_t kLineKindCount = static_cast<std::size_t>(LineKind::None) + 1;

std::string_view LineKindText(LineKind kind);

// A line of this kind is kept as an unknown line: the kinds after Rename are recognised but
// counted nowhere else.
constexpr bool IsUnknownLineKind(LineKind kind) {
    return kind > LineKind::Rename;
}

class PhraseSet;
// What the classifier found of the kill phrases: the set it searched and the mask of those in
// the line. A kill parser given it finds its verb without searching the line again.
struct ClassifiedKill {
    const PhraseSet* Phrases = nullptr;
    std::uint32_t Mask = 0;
};

} // namespace qla
