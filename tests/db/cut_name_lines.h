// Log lines for the tests of a name the game cut in obituary lines, which a database's stored
// statistics must resolve against the whole name met in an earlier log.
#pragma once

#include <string>

namespace qla::dbtest {

// A name longer than the 29 characters the game keeps of a name in obituary lines.
inline const std::string kLongName = "^1{TKS}^2Superlongname-Number-One";
inline const std::string kCutName = "^1{TKS}^2Superlongname-Number^7"; // as obituaries write it

inline std::string Chat(const std::string& name, const std::string& text) {
    return "[skipnotify]" + name + "^7: ^2" + text + "\n";
}
inline std::string Kill(const std::string& victim, const std::string& killer) {
    return "[skipnotify]" + victim + " was killed by " + killer + "'s MP40\n";
}

} // namespace qla::dbtest
