// The statistics site's thresholds as options, described and read in one place for qla export and
// qla watch, so the two take the same choices with the same words and the same refusals.
#pragma once

#include "cli/command_table.h"
#include "export/statistics_site_settings.h"

#include <QCommandLineParser>

#include <optional>
#include <string>
#include <vector>

namespace qla::cli {

// --min-kills, --min-deaths and --min-lines-for-page, their descriptions opened by the case the
// command takes them in: `scope` ("Dashboard only"), or `pageScope` for the one that applies to
// the site's pages alone.
std::vector<OptionInfo> SiteThresholdOptions(const std::string& scope,
                                             const std::string& pageScope);

// The options' names, for the checks of where they apply.
inline constexpr const char* kSiteThresholdOptions[] = {"min-kills", "min-deaths",
                                                        "min-lines-for-page"};

// Reads the thresholds given into `choices`; the usage error's text when one is no whole number
// >= 0.
std::optional<std::string> ReadSiteThresholds(const QCommandLineParser& parser,
                                              StatisticsSiteChoices& choices);

} // namespace qla::cli
