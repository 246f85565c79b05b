// Player names as the game writes them: colour codes, clan tags, spaces and non-ASCII
// letters. The pool holds exactly the requested number of distinct names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "random.h"

namespace loggen {

class NamePool {
  public:
    // latin1Only keeps every letter representable in Windows-1252.
    NamePool(std::uint64_t count, bool latin1Only, Random& rng);

    std::size_t size() const { return names_.size(); }
    const std::string& operator[](std::size_t i) const { return names_[i]; }

    // Players join over time: the first size() picks introduce every name once, in pool order,
    // so even a short log with many players names all of them; later picks are uniform.
    const std::string& pick(Random& rng);

  private:
    std::vector<std::string> names_;
    std::uint64_t picks_ = 0;
};

// A name's visible characters: its colour codes left out.
std::string visibleText(const std::string& name);

// Names that try to break a parser or a page: phrase look-alikes, markup, quotes, empty and
// huge names, control bytes and invalid UTF-8.
const std::vector<std::string>& hostileNames();

} // namespace loggen
