// Text exports of the three statistics tables: standard players, one player's details, weapons.
#include "core/control_chars.h"
#include "core/names.h"
#include "core/text.h"
#include "export/output_file.h"
#include "export/player_sections.h"
#include "export/text_export.h"
#include "export/text_join.h"
#include "stats/detail_tables.h"

#include <array>
#include <cerrno>

namespace qla {

namespace {

std::string NameText(const std::string& name, const TextExportOptions& options) {
    return ReplaceControlChars(options.RemoveColors ? StripColourCodes(name) : name);
}

constexpr std::array<std::string_view, 6> kSectionTitles{
    "Players Killed", "Killed by", "Self Kills", "Teamkills", "TeamDeaths", "Weapon"};

} // namespace

ExportResult WriteStandardText(const AnalysisStore& store, const std::string& path,
                               const StandardColumns& columns, StandardOrder order, bool ascending,
                               const TextExportOptions& options,
                               std::string_view decimalSeparator) {
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    if (options.IncludeHeader)
        file.Line(JoinColumns(columns,
                              {"Playername", "Kills", "Deaths", "Kill/Death Ratio", "TeamKills"},
                              options.Separator));
    file.SetStage(WriterStage::Rows);

    const SortTable table = BuildStandardOrder(store, order);
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
        const auto& cells = row.Cells;
        WriteUnlessBlank(
            file, JoinColumns(columns,
                              {NameText(cells[1].Text, options), cells[2].Text, cells[3].Text,
                               RatioText(CellNumber(cells[4]), decimalSeparator), cells[5].Text},
                              options.Separator));
    });
    return file.Finish();
}

ExportResult WritePlayerDetailsText(const AnalysisStore& store, const std::string& path,
                                    const PlayerDetailSections& sections, PlayerDetailOrder order,
                                    bool ascending, PlayerIndex player,
                                    const TextExportOptions& options) {
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, static_cast<int>(WriterStage::Started));
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    file.SetStage(WriterStage::Rows);

    const KillEventIndex events(store);
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!sections[s])
            continue;
        const SortTable table = BuildPlayerSection(store, events, s, player, order);
        if (options.IncludeHeader)
            file.LineOf(kSectionTitles[s], options.Separator, "Kills");
        ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
            WriteUnlessBlank(file, NameText(row.Cells[1].Text, options) + options.Separator +
                                       row.Cells[2].Text);
        });
    }
    return file.Finish();
}

ExportResult WriteWeaponText(const AnalysisStore& store, const std::string& path,
                             const WeaponColumns& columns, WeaponOrder order, bool ascending,
                             const TextExportOptions& options) {
    StagedFile file;
    file.SetStage(WriterStage::Head);
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    // The weapon and chat exports always start with their title row.
    file.Line(JoinColumns(columns,
                          {"Weapon", "Kills", "% of total Kills", "Most kills", "Most deaths"},
                          options.Separator));
    const SortTable table = BuildWeaponTable(store, order);
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
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
