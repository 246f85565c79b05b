// Text exports of the three statistics tables: standard players, one player's details, weapons.
#include "core/control_chars.h"
#include "core/names.h"
#include "core/text.h"
#include "export/export_request.h"
#include "export/output_file.h"
#include "export/player_sections.h"
#include "export/text_export.h"
#include "export/text_join.h"
#include "stats/detail_tables.h"
#include "stats/statistics.h"

#include <array>
#include <cerrno>

namespace qla {

namespace {

std::string NameText(const std::string& name, const TextExportOptions& options) {
    return ReplaceControlChars(options.RemoveColors ? StripColourCodes(name) : name);
}

constexpr std::array<std::string_view, 6> kSectionTitles{
    "Players Killed", "Killed by", "Self Kills", "Teamkills", "TeamDeaths", "Weapon"};

// A ratio's decimal separator in a text export: the locale's, unless it is the column separator
// too (or part of it), where it would split the ratio into two columns.
std::string_view TextDecimalSeparator(const ExportRequest& request) {
    if (request.Text.Separator.find(request.DecimalSeparator) != std::string::npos)
        return ".";
    return request.DecimalSeparator;
}

} // namespace

ExportOutcome WriteStandardText(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const StandardColumns& columns = request.Standard.Columns;
    const TextExportOptions& options = request.Text;
    const std::string_view decimalSeparator = TextDecimalSeparator(request);
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    if (options.IncludeHeader)
        file.Line(JoinColumns(columns,
                              {"Playername", "Kills", "Deaths", "Kill/Death Ratio", "TeamKills"},
                              options.Separator));
    file.SetStage(WriterStage::Rows);

    const SortTable table = BuildStandardOrder(stats.Store, request.Standard.Order);
    ReadRows(table, request.Standard.Ascending, [&](const SortRow& row, std::size_t) {
        const auto& cells = row.Cells;
        WriteUnlessBlank(
            file, JoinColumns(columns,
                              {NameText(cells[1].Text, options), cells[2].Text, cells[3].Text,
                               RatioText(CellNumber(cells[4]), decimalSeparator), cells[5].Text},
                              options.Separator));
    });
    return file.Finish();
}

ExportOutcome WritePlayerDetailsText(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink) {
    const AnalysisStore& store = stats.Store;
    const PlayerDetailOptions& details = request.PlayerDetails;
    const PlayerIndex player = details.Player;
    const TextExportOptions& options = request.Text;
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, static_cast<int>(WriterStage::Started));
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    file.SetStage(WriterStage::Rows);

    const KillEventIndex events(store);
    for (std::size_t s = 0; s < details.Sections.size(); ++s) {
        if (!details.Sections[s])
            continue;
        const SortTable table = BuildPlayerSection(store, events, s, player, details.Order);
        if (options.IncludeHeader)
            file.LineOf(kSectionTitles[s], options.Separator, "Kills");
        ReadRows(table, details.Ascending, [&](const SortRow& row, std::size_t) {
            WriteUnlessBlank(file, NameText(row.Cells[1].Text, options) + options.Separator +
                                       row.Cells[2].Text);
        });
    }
    return file.Finish();
}

ExportOutcome WriteWeaponText(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const WeaponColumns& columns = request.Weapons.Columns;
    const TextExportOptions& options = request.Text;
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    // The weapon and chat exports always start with their title row.
    file.Line(JoinColumns(columns,
                          {"Weapon", "Kills", "% of total Kills", "Most kills", "Most deaths"},
                          options.Separator));
    const SortTable table = BuildWeaponTable(stats.Store, request.Weapons.Order);
    ReadRows(table, request.Weapons.Ascending, [&](const SortRow& row, std::size_t) {
        const auto& cells = row.Cells;
        WriteUnlessBlank(file, JoinColumns(columns,
                                           {cells[1].Text, cells[2].Text, cells[3].Text,
                                            ReplaceControlChars(cells[4].Text),
                                            ReplaceControlChars(cells[5].Text)},
                                           options.Separator));
    });
    return file.Finish();
}

} // namespace qla
