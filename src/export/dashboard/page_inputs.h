// A hash of what a page is built from, cheaper to make than the page: a sink that remembers the
// hash of each page it published can tell a page that cannot have changed without building it.
// Every input that shapes a page's bytes must go in; a version number covers the code that
// builds it, so a new release never takes an old page for its own.
#pragma once

#include "core/store.h"
#include "export/dashboard/site_layout.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qla {

class PageInputs {
  public:
    explicit PageInputs(std::uint64_t version) { Add(version); }

    void Add(std::uint64_t value);
    void Add(std::string_view text);
    std::uint64_t Value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0x6a09e667f3bcc908ULL;
};

// Each player's name and where links to him lead, hashed once per site and on first use.
class PlayerLinkInputs {
  public:
    PlayerLinkInputs(const AnalysisStore& store, const SiteLayout& layout)
        : store_(store), layout_(layout), hashes_(store.Players.size(), 0) {}

    std::uint64_t Of(PlayerIndex player);

  private:
    const AnalysisStore& store_;
    const SiteLayout& layout_;
    std::vector<std::uint64_t> hashes_; // 0: not made yet
};

} // namespace qla
