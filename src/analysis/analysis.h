// The analysis run: reset, classify every line, raise the seven totals, hand each line to its
// parser. Also the log-open sequence that the window and qla share.
#pragma once

#include "analysis/recognition.h"
#include "core/store.h"
#include "languages/languages.h"
#include "parsers/line_kind.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qla {

struct AnalysisTotals {
    std::int64_t Kills = 0;
    std::int64_t Deaths = 0;
    std::int64_t Teamkills = 0;
    std::int64_t VoiceChats = 0;
    std::int64_t TextChats = 0;
    std::int64_t Unknown = 0;
    std::int64_t Total = 0;
    // Every line by the kind it was recognised as (the parse coverage of the statistics site).
    std::array<std::int64_t, kLineKindCount> ByKind{};
};

struct AnalysisProgress {
    std::uint64_t Position = 0;   // index of the line just handled
    std::uint64_t UpperBound = 0; // index of the last line
    const AnalysisTotals* Totals = nullptr;
};

// Called every kProgressStride lines and once after the last line, on the calling thread. It may
// throw to stop the run between two lines; the store then holds part of the log and is to be reset.
using AnalysisProgressCallback = std::function<void(const AnalysisProgress&)>;
inline constexpr std::uint64_t kProgressStride = 4096;

// How a run uses the cores: a log is split into at most Count ranges (0: one for each core), and
// only so far that each range gets at least MinLinesEach lines. Full recognition and logs of
// several parts always run on one thread.
struct ThreadUse {
    unsigned Count = 0;
    std::uint64_t MinLinesEach = 1 << 16;
};

// The store part of the reset: empties everything but LogLines.
void ResetAnalysis(AnalysisStore& store);

// Walks every line of store.LogLines once; the store is reset first.
AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language,
                          const AnalysisProgressCallback& progress = {});
// The same with the given recognition; the call above is classic recognition.
AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language, Recognition recognition,
                          const AnalysisProgressCallback& progress = {});
// The same on the given threads. The progress callback is called on the calling thread only;
// with several ranges, its totals are those of the first range until the last call.
AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language, Recognition recognition,
                          const ThreadUse& threads, const AnalysisProgressCallback& progress = {});

// A run of consecutive lines of store.LogLines written in one language and read with one
// recognition (one log of several).
struct LogPart {
    std::uint64_t LineCount = 0;
    LogLanguage Language = LogLanguage::English;
    Recognition LineRecognition = Recognition::Classic;
};

// The same walk over logs read one after the other: each part's lines with its own language
// and recognition, into one store. Lines past the parts' sum take the last part's.
AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const AnalysisProgressCallback& progress = {});
AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const ThreadUse& threads,
                               const AnalysisProgressCallback& progress = {});

// True when `path` names a regular file that can be opened for reading.
bool FileExists(const std::string& path);

struct OpenLogResult {
    bool Opened = false; // false: LogFileLoaded became false and nothing else changed
    std::string Error;   // why it was not opened (for qla; the window shows nothing)
    std::optional<std::string> DateText; // set when the first line is a "logfile opened on" line
    std::uint64_t LineCount = 0;
};

// The open sequence: existence check, whole-file read, decode, reset of the store.
OpenLogResult OpenLogFile(AnalysisStore& store, const std::string& path);

// The date text of a first line "logfile opened on <date>"; nullopt for any other line.
std::optional<std::string> LogDateText(std::string_view firstLine);

// The selected-player column of the window: Total is the sum of the six values above it.
struct PlayerTotals {
    std::int64_t Kills = 0, Deaths = 0, Teamkills = 0, VoiceChats = 0, TextChats = 0, Unknown = 0,
                 Total = 0;
};
PlayerTotals TotalsOfPlayer(const PlayerRecord& player);

} // namespace qla
