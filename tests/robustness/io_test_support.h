// Shared pieces of the I/O-failure tests: a scratch folder, small files, a 10 MB binary file and
// the pages one Export All run of a known log writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qla::robust {

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// Three players (Bob, Al, ^1Carl), one kill, one teamkill, one chat and one other line.
extern const std::string kSmallLog;
inline constexpr int kSmallLogPlayers = 3;

// 10 MB of seeded pseudo-random bytes (every byte value, CR and LF among them).
std::string BinaryBytes(std::size_t size);

// The analyzer's line count of `bytes`, counted the plain way.
std::size_t LineCountOf(std::string_view bytes);

// Every file name of a site with `players` players.
std::vector<std::string> SiteFiles(int players);

// True when `page` is a complete page (it ends with the page foot).
bool IsCompletePage(const std::string& page);

} // namespace qla::robust
