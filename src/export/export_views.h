// What every export view and format offers, written once: the window builds its export page from
// it and reads its controls through it, qla checks and maps its options with it, and RunExport
// finds each view's writers in it. A new view or format is a new enum value and one entry here.
#pragma once

#include "export/export_request.h"
#include "export/sink.h"
#include "stats/statistics.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

struct ExportFormatInfo {
    ExportFormat Format;
    std::string_view Name;       // qla's --format value
    std::string_view Caption;    // the window's "Type of file" entry
    std::string_view Kind;       // the format in the window's messages: "Text", "XML"
    std::string_view FileFilter; // the window's save dialog filter
    bool TakesTextOptions;       // the text dump's header and colour choices apply
    bool TakesSeparator;         // a column separator applies (text dump, CSV)
    bool TakesPageChecks;        // the page's check boxes shape the output; JSON and CSV
                                 // always hold every column
    bool InTypeList;             // offered by the window's "Type of file" list
};

// A check box of an export page: its caption, and the name qla's --checks knows it by.
struct CheckOption {
    std::string_view Caption;
    std::string_view Name;
};

struct OrderOption {
    std::string_view Caption;
    std::string_view Name; // qla's --order value beside the index
    bool Offered = true;   // false: valid in a request but not shown on the page
};

// Writes one view in one format: its options read from the request, its bytes into the sink (the
// sink's own file, or for a site view the site's files). The store and the long lists (chats,
// junk lines) are read through the statistics.
using ExportWriter = ExportOutcome (*)(const Statistics& stats, const ExportRequest& request,
                                       Sink& sink);

struct ViewWriter {
    ExportFormat Format;
    ExportWriter Write;
};

// The page's choices in page terms (check box states, "Order by" index), before they become the
// view's typed options.
struct PageChoices {
    std::vector<bool> Checks; // one per check box; missing ones count as checked
    std::optional<int> Order; // index into Orders; nullopt: the page's default
    bool Ascending = true;
};

struct ExportViewInfo {
    ExportView View;
    std::string_view Name;   // qla's --view value
    std::string_view Tab;    // the export page's tab showing the view
    std::string_view Choice; // its option on a tab shared with other views; empty otherwise
    std::span<const CheckOption> Checks; // the check boxes, by index
    std::span<const OrderOption> Orders; // "Order by" options by index; empty: none
    int DefaultOrder;                    // the option selected at start-up
    bool NeedsPlayer;                    // exports one stored player's page
    bool WritesSite;                     // in HTML, Path is a folder of many files
    std::span<const ViewWriter> Writers; // one per format the view takes
    // Stores the page's choices in the request's options for this view.
    void (*ApplyChoices)(ExportRequest& request, const PageChoices& choices);
};

// Every format and every view, in enum order.
std::span<const ExportFormatInfo> ExportFormats();
// The formats of the window's "Type of file" list, in its order.
std::vector<const ExportFormatInfo*> TypeListFormats();
std::span<const ExportViewInfo> ExportViews();

const ExportFormatInfo& InfoOf(ExportFormat format);
const ExportViewInfo& InfoOf(ExportView view);

// By qla's name; nullptr for an unknown name.
const ExportFormatInfo* FindExportFormat(std::string_view name);
// The names in table order, as command lines spell them.
std::vector<std::string> ExportFormatNames();
std::vector<std::string> ExportViewNames();
const ExportViewInfo* FindExportView(std::string_view name);

// The writer for the view and format; nullptr when the view does not take the format.
const ViewWriter* WriterOf(ExportView view, ExportFormat format);
bool ViewTakes(ExportView view, ExportFormat format);
// Whether the request's Path is a folder that receives many files: a site view written as HTML.
bool WritesFolder(ExportView view, ExportFormat format);

// The one view that takes `format`, or the one format `view` takes; nullopt when there are more.
std::optional<ExportView> SoleViewTaking(ExportFormat format);
std::optional<ExportFormat> SoleFormatOf(ExportView view);

// A request for `view` and `format` with the page's start-up choices and `choices` applied.
ExportRequest RequestFor(ExportView view, ExportFormat format, const PageChoices& choices);

} // namespace qla
