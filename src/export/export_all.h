// Export All Data: the linked site of style sheet, five index pages, two pages per player and
// five weapon pages in one folder.
#pragma once

#include "core/store.h"
#include "export/export_types.h"
#include "export/file_paths.h" // PathInFolder: where a caller finds the site's pages

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// The "If file exists:" choices. They apply to pages; an existing "style.css" is always kept.
enum class IfFileExists { Overwrite, Skip, Ask };
enum class ExistingFileAnswer { Replace, Keep, Stop };

// Called before each file with its bare name, its number (1-based) and the file count.
using ExportAllProgress =
    std::function<void(const std::string& fileName, std::int64_t number, std::int64_t count)>;
// Asked for each existing page when IfExists is Ask.
using ExistingFileQuestion = std::function<ExistingFileAnswer(const std::string& fileName)>;
// Asked before each file: true ends the run there; the files written so far stay.
using CancelCheck = std::function<bool()>;

struct ExportAllSettings {
    std::string GameTitle;
    std::string DecimalSeparator = ".";
    IfFileExists IfExists = IfFileExists::Overwrite;
    ExistingFileQuestion Ask;   // needed for IfFileExists::Ask; without it pages are kept
    ExportAllProgress Progress; // optional
    CancelCheck Cancelled;      // optional
};

struct ExportAllPageError {
    std::string FileName;
    std::string Error;
};

struct ExportAllResult {
    std::string Refused;                    // the folder cannot be used; nothing was written
    std::vector<ExportAllPageError> Errors; // pages that failed; the run went on past them
    bool Stopped = false;                   // "stop" was answered to the question
    bool Cancelled = false;                 // the run was cancelled before its last file
    std::int64_t FilesDone = 0;             // files handled, kept ones included
    std::int64_t FilesWritten = 0;          // files written (not kept, not failed)
    bool Ok() const { return Refused.empty() && Errors.empty(); }
};

// 2 x players + 11: style sheet, five index pages, two pages per player, five weapon pages.
std::int64_t CountExportAllFiles(const AnalysisStore& store);

class Sink;
struct ExportOutcome;
struct ExportRequest;
struct Statistics;

// The site's files into `site`, which Has() is asked about for the if-exists policy.
ExportAllResult ExportAllInto(const AnalysisStore& store, const ExportAllSettings& settings,
                              Sink& site);
// The same into `folder`, which must exist; it is locked against a second run meanwhile.
ExportAllResult ExportAllData(const AnalysisStore& store, const std::string& folder,
                              const ExportAllSettings& settings);
// The writer of the "all" view: the settings from the request's GameTitle, DecimalSeparator and
// Site options, the result in the outcome's Site.
ExportOutcome WriteAllDataSite(const Statistics& stats, const ExportRequest& request, Sink& sink);

// Why pages cannot be written into `folder` (as ExportAllResult::Refused says it); empty when
// they can. Lets a caller refuse a folder before asking anything else.
std::string SiteFolderRefusal(const std::string& folder);

} // namespace qla
