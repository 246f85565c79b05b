// A player's own page on the statistics site lives at an address made from his name, never from
// his place in a list, so a link to it keeps leading to him after later logs, forgotten logs and
// rebuilt sites, from a log and from a database alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// The folders that share the players' pages: the first hex digits of a name's hash, Digits of
// them per folder level. They follow from the most entries a folder may hold, never from the
// number of players, so a page keeps its folder as the history grows: with 1000 a folder, one
// level of 256 folders (about 200,000 players before a folder is full).
struct AddressBuckets {
    int Digits = 2;
    int Levels = 1;
};
AddressBuckets AddressBucketsFor(std::size_t filesPerFolder);

// "<bucket>/<words>-<hash>" below players/: the words are the name's letters and digits without
// colour codes (ASCII, lower case, at most 24), the hash twelve hex digits of the exact name.
std::string PlayerPageAddress(std::string_view name, AddressBuckets buckets = {});

// The addresses of these names, the same as PlayerPageAddress except where two names' addresses
// meet (two names whose hashes agree): then the name that sorts later by its bytes gets "-2",
// "-3", ... after it, so no two players of one site share a page.
std::vector<std::string> DistinctPlayerPageAddresses(const std::vector<std::string_view>& names,
                                                     AddressBuckets buckets);

// "players/" + address + ".html": the page's path from the site's root.
std::string PlayerPagePath(std::string_view address);

} // namespace qla
