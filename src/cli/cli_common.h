// Pieces every qla subcommand shares: the log languages, the recognition modes, loading +
// analysing a log, and merging its players.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "core/store.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

// The values of --language: "english", "german", "auto".
std::vector<std::string> LanguageNames();

// What --language chose: one language, or "auto": each log read in the language its first lines
// are written in.
struct LanguageChoice {
    LogLanguage Language = LogLanguage::English;
    bool Auto = false;
};

// "english", "german" or "auto" in any case; nullopt (with a message on err) for anything else.
std::optional<LanguageChoice> ParseLanguage(const QString& value, std::ostream& err);

// The language to read the opened log in: the chosen one, or with auto the likely one, which is
// then reported on err.
LogLanguage LanguageFor(const LanguageChoice& choice, const AnalysisStore& store,
                        const QString& path, std::ostream& err);

// The line that reports the language auto chose for a log.
void ReportChosenLanguage(std::ostream& err, const std::string& path, LogLanguage language);

// The values of --recognition: "classic", "full".
std::vector<std::string> RecognitionNames();

// "classic" or "full" in any case; an empty value is classic. nullopt (with a message on err)
// for anything else.
std::optional<Recognition> ParseRecognition(const QString& value, std::ostream& err);

// The path as the file system spells it.
std::string LocalPath(const QString& path);

// For "no player is stored as NAME": the stored names that equal NAME but for colour codes,
// case and blanks, as " (stored names like it: 'A', 'B')", or nothing.
std::string StoredNamesLike(const AnalysisStore& store, const std::string& name);

// The value of --threads: 0 (every core) when not given; nullopt after a message on err for a
// value that is no number from 1 to kMostThreads.
inline constexpr unsigned kMostThreads = 256;
std::optional<unsigned> ParseThreads(const QCommandLineParser& parser, std::ostream& err);

struct AnalysedLog {
    AnalysisTotals Totals;
    std::optional<std::string> DateText; // as OpenLogResult::DateText
};

// Reads and analyses the log in blocks on `threads` threads (0: every core), holding only what
// the store keeps; nullopt after printing the reason when it cannot be read.
std::optional<AnalysedLog> OpenAndAnalyze(AnalysisStore& store, const QString& path,
                                          const LanguageChoice& language, std::ostream& err,
                                          Recognition recognition = Recognition::Classic,
                                          unsigned threads = 0);

// "--merge-players=RULE" reaches the parser as --merge-players and this hidden option, since a
// flag of Qt's parser takes no value.
inline constexpr std::string_view kMergeRuleOption = "merge-players-rule";

// What the two options chose, and after Apply the names of the merged players.
struct PlayerMerging {
    bool Merge = false;
    // --merge-players=names: identity keys only; otherwise names over time (the store must then
    // track holders before it is filled: TracksHolders()).
    bool ByNamesOnly = false;
    bool TracksHolders() const { return Merge && !ByNamesOnly; }
    AliasList Aliases;
    std::optional<MergedNames> Names;

    // Merges the store's players when chosen.
    void Apply(AnalysisStore& store);
    // The player stored as `name`; once merged, the merged player of any of its names.
    std::optional<PlayerIndex> Find(const AnalysisStore& store, const std::string& name) const;
};

// Reads the options from a parser that holds them; nullopt after printing why (--aliases
// without --merge-players is a usage error, an unreadable file a failure: see exitCode).
std::optional<PlayerMerging> ReadPlayerMerging(const QCommandLineParser& parser, std::ostream& err,
                                               int& exitCode);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

} // namespace qla::cli
