// The texts of the line kinds, as qla and the tests name them.
#include "line_kind.h"

namespace qla {

std::string_view LineKindText(LineKind kind) {
    switch (kind) {
    case LineKind::Kill:
        return "kill";
    case LineKind::Teamkill:
        return "tk";
    case LineKind::Died:
        return "died";
    case LineKind::VoiceSay:
        return "vsay";
    case LineKind::Say:
        return "say";
    case LineKind::Rename:
        return "rename";
    case LineKind::LtSay:
        return "lt_say";
    case LineKind::Server:
        return "server";
    case LineKind::Complaint:
        return "complaint";
    case LineKind::Spam:
        return "spam";
    case LineKind::TimeOut:
        return "time out";
    case LineKind::Disconnect:
        return "disconnect";
    case LineKind::None:
        return "none";
    }
    return "none";
}

} // namespace qla
