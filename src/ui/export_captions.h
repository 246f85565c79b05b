// The captions the export views' table gives the window (tabs, check boxes, "Order by" options,
// file types and filters), in the window's language. The table itself stays free of Qt and
// English, as qla and the files use it.
#pragma once

#include <QString>

#include <span>
#include <string_view>

namespace qla::ui {

// `english`, a caption of the export views' table, translated (context "ExportCaptions").
QString ExportCaption(std::string_view english);

// Every caption of the table, marked for the translation tools; a test checks that it holds
// all the table has.
std::span<const char* const> TranslatableExportCaptions();

} // namespace qla::ui
