// Paths of the statistics site's pages.
#include "export/dashboard/site_layout.h"

#include "export/dashboard/site_tables.h"

#include <algorithm>

namespace qla {

PageSeries::PageSeries(std::string folder, std::string stem, std::size_t largest,
                       std::size_t perFolder)
    : folder_(std::move(folder)), stem_(std::move(stem)),
      perFolder_(std::max<std::size_t>(perFolder, 2)) {
    // Each level of buckets multiplies what the series holds by perFolder.
    for (std::size_t holds = perFolder_; holds <= largest; holds *= perFolder_)
        ++levels_;
}

std::string PageSeries::Path(std::size_t number) const {
    std::string path = folder_;
    path += '/';
    std::size_t scale = 1;
    for (int level = 0; level < levels_; ++level)
        scale *= perFolder_;
    for (int level = 0; level < levels_; ++level) {
        // The top level's digit needs no remainder: the largest number keeps it below perFolder.
        path += std::to_string(number / scale % perFolder_);
        path += '/';
        scale /= perFolder_;
    }
    path += stem_;
    path += std::to_string(number);
    path += ".html";
    return path;
}

std::string PageSeries::ScriptForm() const {
    return folder_ + "|" + stem_ + "|" + std::to_string(levels_) + "|" + std::to_string(perFolder_);
}

std::string RootFrom(int depth) {
    std::string root;
    for (int i = 0; i < depth; ++i)
        root += "../";
    return root;
}

namespace {

std::size_t PagesOfList(std::size_t players) {
    if (players <= kOverviewPlayerRows)
        return 1;
    return 1 + (players - kOverviewPlayerRows + kListPlayerRows - 1) / kListPlayerRows;
}

} // namespace

SiteLayout::SiteLayout(const AnalysisStore& store, const DashboardModel& model,
                       const std::vector<PlayerIndex>& order, std::size_t perFolder)
    : model_(model), placeInList_(model.Players.size() + 1, 0),
      listPageCount_(PagesOfList(order.size())), buckets_(AddressBucketsFor(perFolder)),
      pagePaths_(model.Players.size() + 1),
      listPages_("list", "players-", PagesOfList(order.size()), perFolder) {
    for (std::size_t place = 0; place < order.size(); ++place)
        placeInList_[static_cast<std::size_t>(order[place])] = place;
    std::vector<PlayerIndex> owners;
    std::vector<std::string_view> names;
    for (const PlayerSummary& p : model.Players) {
        if (!p.OwnPage)
            continue;
        owners.push_back(p.Index);
        names.push_back(store.Players[static_cast<std::size_t>(p.Index)].Name);
    }
    const std::vector<std::string> addresses = DistinctPlayerPageAddresses(names, buckets_);
    for (std::size_t k = 0; k < owners.size(); ++k)
        pagePaths_[static_cast<std::size_t>(owners[k])] = qla::PlayerPagePath(addresses[k]);
}

// The hidden player (AnalysisStore::HiddenPlayer), after the listed ones, has no page and no
// row: a link to him leads to the overview.
bool SiteLayout::HasPage(PlayerIndex player) const {
    return static_cast<std::size_t>(player) <= model_.Players.size() && model_.Of(player).OwnPage;
}

std::string SiteLayout::ListPagePath(std::size_t page) const {
    return page <= 1 ? std::string("index.html") : listPages_.Path(page);
}

std::size_t SiteLayout::ListPageOf(PlayerIndex player) const {
    if (static_cast<std::size_t>(player) >= placeInList_.size())
        return 1;
    const std::size_t place = placeInList_[static_cast<std::size_t>(player)];
    return place < kOverviewPlayerRows ? 1 : 2 + (place - kOverviewPlayerRows) / kListPlayerRows;
}

std::size_t SiteLayout::ListPageBegin(std::size_t page) const {
    return page <= 1 ? 0 : kOverviewPlayerRows + (page - 2) * kListPlayerRows;
}

std::string SiteLayout::PlayerHref(PlayerIndex player) const {
    if (HasPage(player))
        return PlayerPagePath(player);
    return ListPagePath(ListPageOf(player)) + "#p" + std::to_string(player);
}

} // namespace qla
