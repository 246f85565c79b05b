// Line kinds that the classifiers of both languages return.
#pragma once

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

std::string_view LineKindText(LineKind kind);

// English classifier.
LineKind ClassifyLine(std::string_view line);

} // namespace qla
