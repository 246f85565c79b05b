// The --checks and --order values of `qla export`: a page's check boxes and "Order by"
// options by index or by name.
#pragma once

#include "export/export_views.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla::cli {

// "none", or a comma-separated list of box indexes and names (any case), into one state per box
// of the view. nullopt with `error` set for anything else.
std::optional<std::vector<bool>> ParseCheckList(std::string_view list, const ExportViewInfo& view,
                                                std::string& error);

// One "Order by" option by index or name (any case); nullopt with `error` set otherwise.
std::optional<int> ParseOrderChoice(std::string_view value, const ExportViewInfo& view,
                                    std::string& error);

} // namespace qla::cli
