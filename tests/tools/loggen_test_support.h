// Helpers shared by the generator tests: running it in-process and splitting its output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace loggen_test {

// Runs qla-loggen with the arguments and returns what it wrote; the test fails unless the
// exit status is 0.
std::string generate(const std::vector<std::string>& args);

// Lines as terminated in the file: CR LF, CR and LF each end one line.
std::vector<std::string> splitTerminatedLines(std::string_view bytes);

// The analyzer's reading: a line ends at CR or CR LF (a terminator at the very end starts no
// new line), then every line is split again at each LF, all pieces kept.
std::size_t readerLineCount(std::string_view bytes);

bool startsWith(std::string_view text, std::string_view head);
bool endsWith(std::string_view text, std::string_view tail);
bool contains(std::string_view text, std::string_view part);

} // namespace loggen_test
