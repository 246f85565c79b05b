// CSV files of the standard, player, weapon, chat and junk views.
#include "core/names.h"
#include "export/data/data_export.h"
#include "export/data/view_rows.h"
#include "export/export_request.h"
#include "export/output_file.h"
#include "stats/sort_table.h"
#include "stats/statistics.h"

#include <cerrno>

namespace qla {
namespace {

// Builds a row field by field: text fields guarded, numbers as they are.
class CsvLine {
  public:
    explicit CsvLine(const CsvOptions& options) : options_(options) {}
    CsvLine& Text(std::string_view field) {
        Separate();
        AppendCsvField(line_, field, options_);
        return *this;
    }
    CsvLine& Number(std::int64_t value) {
        Separate();
        AppendCsvNumber(line_, std::to_string(value), options_);
        return *this;
    }
    CsvLine& Ratio(std::int64_t hundredths) {
        Separate();
        AppendCsvNumber(line_, RatioText(hundredths, "."), options_);
        return *this;
    }
    void WriteTo(StagedFile& file) {
        // A row of one empty field would read as no fields at all; quoted it is one.
        file.Line(line_.empty() ? std::string_view("\"\"") : std::string_view(line_));
        line_.clear();
        first_ = true;
    }

  private:
    void Separate() {
        if (!first_)
            line_ += options_.Separator;
        first_ = false;
    }
    const CsvOptions& options_;
    std::string line_;
    bool first_ = true;
};

void WriteHeader(StagedFile& file, std::initializer_list<std::string_view> names,
                 const CsvOptions& options) {
    file.Line(CsvRow(names, options));
}

std::string_view NameOrEmpty(const AnalysisStore& store, PlayerIndex player) {
    return player == 0 ? std::string_view() : std::string_view(store.Players[player].Name);
}

// Why the request's separator cannot be used (a quoted field could not be told from it); it
// fails the export before any file is made.
std::string SeparatorProblem(const ExportRequest& request) {
    return CsvSeparatorProblem(request.Csv.Separator);
}

ExportResult WriteChatCsv(const Statistics& stats, bool voice, Sink& sink,
                          const CsvOptions& options) {
    const AnalysisStore& store = stats.Store;
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    WriteHeader(file, {"player", "visible_player", "location", "scope", "text"}, options);
    CsvLine line(options);
    std::string error;
    const bool read = stats.Lines.ForEachChat(
        voice,
        [&](const ChatLine& entry) {
            const std::string& name = store.Players[entry.Player].Name;
            line.Text(name)
                .Text(StripColourCodes(name))
                .Text(entry.Location)
                .Text(entry.IsTeam ? "team" : "global")
                .Text(entry.Text)
                .WriteTo(file);
        },
        error);
    if (!read)
        return {error};
    return file.Finish();
}

} // namespace

ExportOutcome WriteStandardCsv(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    const AnalysisStore& store = stats.Store;
    const CsvOptions& options = request.Csv;
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    WriteHeader(file, {"name", "visible_name", "kills", "deaths", "ratio", "teamkills"}, options);
    CsvLine line(options);
    for (const StandardRow& row :
         StandardRows(store, request.Standard.Order, request.Standard.Ascending))
        line.Text(row.Name)
            .Text(StripColourCodes(row.Name))
            .Number(row.Kills)
            .Number(row.Deaths)
            .Ratio(row.RatioHundredths)
            .Number(row.Teamkills)
            .WriteTo(file);
    return file.Finish();
}

ExportOutcome WritePlayerDetailsCsv(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    const AnalysisStore& store = stats.Store;
    const CsvOptions& options = request.Csv;
    const PlayerDetailOptions& details = request.PlayerDetails;
    const PlayerIndex player = details.Player;
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, 0);
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    WriteHeader(file, {"section", "item", "visible_item", "count"}, options);
    const auto sections = PlayerSectionRows(store, player, details.Order, details.Ascending);
    CsvLine line(options);
    for (std::size_t s = 0; s < sections.size(); ++s)
        for (const SectionRow& row : sections[s])
            line.Text(kSectionKeys[s])
                .Text(row.Item)
                .Text(StripColourCodes(row.Item))
                .Number(row.Count)
                .WriteTo(file);
    return file.Finish();
}

ExportOutcome WriteWeaponCsv(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    const AnalysisStore& store = stats.Store;
    const CsvOptions& options = request.Csv;
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    WriteHeader(file,
                {"weapon", "kills", "share_percent", "most_kills_by", "most_kills",
                 "most_deaths_by", "most_deaths"},
                options);
    CsvLine line(options);
    for (const WeaponRow& row : WeaponRows(store, request.Weapons.Order, request.Weapons.Ascending))
        line.Text(row.Weapon)
            .Number(row.Kills)
            .Number(row.SharePercent)
            .Text(NameOrEmpty(store, row.MostKillsBy))
            .Number(row.MostKills)
            .Text(NameOrEmpty(store, row.MostDeathsBy))
            .Number(row.MostDeaths)
            .WriteTo(file);
    return file.Finish();
}

ExportOutcome WriteVoiceChatCsv(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    return WriteChatCsv(stats, true, sink, request.Csv);
}

ExportOutcome WriteTextChatCsv(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    return WriteChatCsv(stats, false, sink, request.Csv);
}

ExportOutcome WriteUnknownLinesCsv(const Statistics& stats, const ExportRequest& request,
                                   Sink& sink) {
    if (std::string problem = SeparatorProblem(request); !problem.empty())
        return ExportResult{std::move(problem)};
    const CsvOptions& options = request.Csv;
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    WriteHeader(file, {"line"}, options);
    CsvLine line(options);
    std::string error;
    const bool read = stats.Lines.ForEachUnknownLine(
        [&](std::string_view other) { line.Text(other).WriteTo(file); }, error);
    if (!read)
        return ExportResult{error};
    return file.Finish();
}

} // namespace qla
