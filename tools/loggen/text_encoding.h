// Re-encodes the generator's UTF-8 text as Windows-1252, the code page of German game clients.
#pragma once

#include <string>
#include <string_view>

namespace loggen {

// Appends utf8 to out in Windows-1252. Characters the code page lacks become "?"; bytes that
// are not valid UTF-8 are copied unchanged, so hostile lines keep their broken bytes.
void appendWindows1252(std::string_view utf8, std::string& out);

} // namespace loggen
