// The statistics site's thresholds as options.
#include "cli/site_choice_options.h"

namespace qla::cli {
namespace {

std::optional<std::int64_t> WholeNumber(const QCommandLineParser& parser, const char* option) {
    bool ok = false;
    const qlonglong value = parser.value(QString::fromLatin1(option)).toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::vector<OptionInfo> SiteThresholdOptions(const std::string& scope,
                                             const std::string& pageScope) {
    return {
        {.Name = "min-kills",
         .ValueName = "N",
         .Description = scope + ": the kills a player needs for the best kill/death list "
                                "(default 5)."},
        {.Name = "min-deaths",
         .ValueName = "N",
         .Description = scope + ": the deaths a player needs for the best kill/death list "
                                "(default 5)."},
        {.Name = "min-lines-for-page",
         .ValueName = "N",
         .Description = pageScope +
                        ": players named in fewer than N lines get a row in the player list "
                        "instead of a page of their own (default: a page for everyone in a site "
                        "of up to 1000 players; beyond that, N is 5)."}};
}

std::optional<std::string> ReadSiteThresholds(const QCommandLineParser& parser,
                                              StatisticsSiteChoices& choices) {
    for (const auto& [option, target] :
         {std::pair{"min-kills", &choices.MinKills}, std::pair{"min-deaths", &choices.MinDeaths}}) {
        if (!parser.isSet(QString::fromLatin1(option)))
            continue;
        const auto value = WholeNumber(parser, option);
        if (!value)
            return std::string("--") + option + " takes a whole number >= 0";
        *target = *value;
    }
    if (parser.isSet(QStringLiteral("min-lines-for-page"))) {
        const auto lines = WholeNumber(parser, "min-lines-for-page");
        if (!lines)
            return std::string("--min-lines-for-page takes a whole number >= 0");
        choices.MinLinesForPage = *lines;
    }
    return std::nullopt;
}

} // namespace qla::cli
