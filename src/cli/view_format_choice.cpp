// Reading --view and --format into the views' and formats' descriptions.
#include "cli/view_format_choice.h"

#include "cli/nearest_choice.h"

namespace qla::cli {

namespace {

std::string Std(std::string_view text) {
    return std::string(text);
}

// Why the view does not take the format, named by what would fit.
std::string FormatRefusal(const ExportViewInfo& view, const ExportFormatInfo& format) {
    if (const auto sole = SoleViewTaking(format.Format))
        return "format " + Std(format.Name) + " needs view " + Std(InfoOf(*sole).Name);
    if (const auto sole = SoleFormatOf(view.View))
        return "view " + Std(view.Name) + " needs format " + Std(InfoOf(*sole).Name);
    return "format " + Std(format.Name) + " does not apply to view " + Std(view.Name);
}

} // namespace

std::optional<ViewAndFormat> ParseViewAndFormat(const QString& view, const QString& format,
                                                std::string& error) {
    // Views and formats are named in any case, as languages are.
    ViewAndFormat chosen;
    chosen.View = FindExportView(view.toLower().toStdString());
    if (chosen.View == nullptr) {
        error = "unknown view '" + view.toStdString() + "'" +
                DidYouMean(view.toStdString(), ExportViewNames());
        return std::nullopt;
    }
    chosen.Format = FindExportFormat(format.toLower().toStdString());
    if (chosen.Format == nullptr) {
        error = "unknown format '" + format.toStdString() + "'" +
                DidYouMean(format.toStdString(), ExportFormatNames());
        return std::nullopt;
    }
    if (!ViewTakes(chosen.View->View, chosen.Format->Format)) {
        error = FormatRefusal(*chosen.View, *chosen.Format);
        return std::nullopt;
    }
    return chosen;
}

std::vector<std::string> SiteViewNames() {
    std::vector<std::string> names;
    for (const ExportViewInfo& view : ExportViews())
        if (view.WritesSite)
            names.emplace_back(view.Name);
    return names;
}

} // namespace qla::cli
