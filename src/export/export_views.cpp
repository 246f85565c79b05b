// The table of export formats, and what the views' table answers: which view takes which
// format, their names, and the request a page's choices make.
#include "export/export_views.h"

#include "export/export_view_table.h"

#include <array>

namespace qla {
namespace {

using enum ExportFormat;

// Name, caption, kind, filter; text options, separator, page checks, in the type list.
constexpr std::array kFormats{
    ExportFormatInfo{Html, "html", "HTML", "HTML", "HTML Files (*.html *.htm)", false, false, true,
                     true},
    ExportFormatInfo{Text, "text", "Text dump", "Text", "Text files (*.txt)", true, true, true,
                     true},
    ExportFormatInfo{Xml, "xml", "XML", "XML", "XML Files (*.xml)", false, false, true, true},
    ExportFormatInfo{Json, "json", "JSON", "JSON", "JSON Files (*.json)", false, false, false,
                     false},
    ExportFormatInfo{Csv, "csv", "CSV", "CSV", "CSV Files (*.csv)", false, true, false, false},
};

} // namespace

std::span<const ExportFormatInfo> ExportFormats() {
    return kFormats;
}

std::vector<const ExportFormatInfo*> TypeListFormats() {
    std::vector<const ExportFormatInfo*> offered;
    for (const ExportFormatInfo& info : kFormats)
        if (info.InTypeList)
            offered.push_back(&info);
    return offered;
}

std::span<const ExportViewInfo> ExportViews() {
    return ExportViewTable();
}

const ExportFormatInfo& InfoOf(ExportFormat format) {
    return kFormats[static_cast<std::size_t>(format)];
}

const ExportViewInfo& InfoOf(ExportView view) {
    return ExportViews()[static_cast<std::size_t>(view)];
}

std::vector<std::string> ExportFormatNames() {
    std::vector<std::string> names;
    for (const ExportFormatInfo& format : ExportFormats())
        names.emplace_back(format.Name);
    return names;
}

std::vector<std::string> ExportViewNames() {
    std::vector<std::string> names;
    for (const ExportViewInfo& view : ExportViews())
        names.emplace_back(view.Name);
    return names;
}

const ExportFormatInfo* FindExportFormat(std::string_view name) {
    for (const ExportFormatInfo& info : kFormats)
        if (info.Name == name)
            return &info;
    return nullptr;
}

const ExportViewInfo* FindExportView(std::string_view name) {
    for (const ExportViewInfo& info : ExportViews())
        if (info.Name == name)
            return &info;
    return nullptr;
}

const ViewWriter* WriterOf(ExportView view, ExportFormat format) {
    for (const ViewWriter& writer : InfoOf(view).Writers)
        if (writer.Format == format)
            return &writer;
    return nullptr;
}

bool ViewTakes(ExportView view, ExportFormat format) {
    return WriterOf(view, format) != nullptr;
}

bool WritesFolder(ExportView view, ExportFormat format) {
    return InfoOf(view).WritesSite && format == ExportFormat::Html;
}

std::optional<ExportView> SoleViewTaking(ExportFormat format) {
    std::optional<ExportView> sole;
    for (const ExportViewInfo& info : ExportViews()) {
        if (!ViewTakes(info.View, format))
            continue;
        if (sole)
            return std::nullopt;
        sole = info.View;
    }
    return sole;
}

std::optional<ExportFormat> SoleFormatOf(ExportView view) {
    const auto writers = InfoOf(view).Writers;
    if (writers.size() != 1)
        return std::nullopt;
    return writers.front().Format;
}

ExportRequest RequestFor(ExportView view, ExportFormat format, const PageChoices& choices) {
    ExportRequest request;
    request.View = view;
    request.Format = format;
    const ExportViewInfo& info = InfoOf(view);
    PageChoices chosen = choices;
    if (!chosen.Order)
        chosen.Order = info.DefaultOrder; // the option the page selects at start-up
    info.ApplyChoices(request, chosen);
    return request;
}

} // namespace qla
