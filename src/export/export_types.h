// Shared vocabulary of the exporters: the result every writer returns and the flag groups that
// mirror the export page's check boxes.
#pragma once

#include "core/product.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qla {

// Ok, or the message the window shows and qla prints.
struct ExportResult {
    std::string Error; // empty when the export succeeded
    bool Ok() const { return Error.empty(); }
};

// "Error - " errno " - " strerror(errno) CR LF "errorcode: " stage.
std::string ErrorText(int errorNumber, int stage);
inline ExportResult Failure(int errorNumber, int stage) {
    return {ErrorText(errorNumber, stage)};
}

// Indexes follow the check boxes of the export page.
using StandardColumns = std::array<bool, 5>;      // name, kills, deaths, ratio, teamkills
using PlayerDetailSections = std::array<bool, 6>; // kills, deaths, self kills, teamkills,
                                                  // teamdeaths, used weapons
using WeaponColumns = std::array<bool, 5>;        // weapon, kills, share, most kills, most deaths
using ChatFlags = std::array<bool, 5>;            // player, location, text, team chat, global chat

inline constexpr StandardColumns kAllStandardColumns{true, true, true, true, true};
inline constexpr PlayerDetailSections kAllPlayerDetailSections{true, true, true, true, true, true};
inline constexpr WeaponColumns kAllWeaponColumns{true, true, true, true, true};
inline constexpr ChatFlags kAllChatFlags{true, true, true, true, true};
// Whether the chat views show a message: its team or global box is checked.
inline bool ChatShown(const ChatFlags& flags, bool isTeam) {
    return isTeam ? flags[3] : flags[4];
}

// Long line loops (the junk pages) report (lines done, line count) every kLineProgressStride
// lines and after the last one, so the window can repaint.
using LineProgress = std::function<void(std::int64_t done, std::int64_t count)>;
inline constexpr std::int64_t kLineProgressStride = 4096;

} // namespace qla
