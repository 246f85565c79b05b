// Where each page of the statistics site lives. The root holds a fixed set of files; numbered
// pages (the later pages of the player list, the chat archive's logs) go into a folder of their own
// per series, and into sub-folders by their number once a series has more pages than one folder may
// hold, so no folder of the site holds more than that. A player's own page lives at the address
// his name gives it (player_address.h).
#pragma once

#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/player_address.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qla {

// The most files or folders in one folder of the site.
inline constexpr std::size_t kSiteFilesPerFolder = 1000;

// Pages numbered up to `largest`: number n is Folder/[bucket/...]Stem<n>.html, where the buckets
// are the digits of n / PerFolder in base PerFolder, as many as the largest number needs. A
// page's bucket follows from its number alone, for a given largest number.
class PageSeries {
  public:
    PageSeries(std::string folder, std::string stem, std::size_t largest, std::size_t perFolder);

    // From the root of the site.
    std::string Path(std::size_t number) const;
    // Folders between the root and a page.
    int Depth() const { return 1 + levels_; }
    // The series as the site's script reads it: "folder|stem|levels|per folder".
    std::string ScriptForm() const;

  private:
    std::string folder_, stem_;
    std::size_t perFolder_;
    int levels_ = 0;
};

// "../" for each folder between a page and the root: what its links to other pages start with.
std::string RootFrom(int depth);

class SiteLayout {
  public:
    // `order` is the player list's order (PlayersByKills).
    SiteLayout(const AnalysisStore& store, const DashboardModel& model,
               const std::vector<PlayerIndex>& order, std::size_t perFolder);

    // From the root: players/<address>.html; empty for a player without his own page.
    const std::string& PlayerPagePath(PlayerIndex player) const {
        return pagePaths_[static_cast<std::size_t>(player)];
    }
    int PlayerPageDepth() const { return 1 + buckets_.Levels; }
    const PageSeries& ListPages() const { return listPages_; }
    bool HasPage(PlayerIndex player) const;
    // The pages of the player list, the overview first, and the places in the list each shows.
    std::size_t ListPageCount() const { return listPageCount_; }
    std::size_t ListPageBegin(std::size_t page) const;
    std::size_t ListPageEnd(std::size_t page) const { return ListPageBegin(page + 1); }
    // Page 1 of the player list is the overview.
    std::string ListPagePath(std::size_t page) const;
    int ListPageDepth(std::size_t page) const { return page <= 1 ? 0 : listPages_.Depth(); }
    // The list page that holds the player's row.
    std::size_t ListPageOf(PlayerIndex player) const;
    // From the root: his own page or, without one, his row in the player list.
    std::string PlayerHref(PlayerIndex player) const;

  private:
    const DashboardModel& model_;
    std::vector<std::size_t> placeInList_; // by player index
    std::size_t listPageCount_ = 1;
    AddressBuckets buckets_;
    std::vector<std::string> pagePaths_; // by player index
    PageSeries listPages_;
};

} // namespace qla
