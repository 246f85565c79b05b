#include "ui/awards_panel.h"

#include "core/names.h"
#include "export/dashboard/history_awards.h"
#include "export/data/awards_export.h"
#include "ui/one_line_rows.h"
#include "ui/player_name_delegate.h"
#include "ui/player_table_model.h"
#include "ui/version.h"
#include "ui/work_beside_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace qla::ui {
namespace {

constexpr int kNameRole = PlayerTableModel::kColouredNameRole;

QTableWidget* AwardTable(const char* name, const QStringList& captions, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(captions);
    UseOneLineRows(table);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    for (const int column : {1, 2})
        table->setItemDelegateForColumn(column, new PlayerNameDelegate(kNameRole, table));
    return table;
}

QTableWidgetItem* TextItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

// A player's name without its colour codes, drawn in its colours, the codes in the tip.
QTableWidgetItem* NameItem(const std::string& name) {
    auto* item = new QTableWidgetItem(QString::fromStdString(StripColourCodes(name)));
    item->setData(kNameRole, QString::fromStdString(name));
    item->setToolTip(QString::fromStdString(name));
    return item;
}

QTableWidgetItem* NumberItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void AddRow(QTableWidget* table, std::initializer_list<QTableWidgetItem*> items) {
    const int row = table->rowCount();
    table->insertRow(row);
    int column = 0;
    for (QTableWidgetItem* item : items) {
        if (item)
            table->setItem(row, column, item);
        ++column;
    }
}

// A row that says why an award or record has no winner, across the rest of the table.
void AddEmptyRow(QTableWidget* table, std::string_view title, const QString& why) {
    AddRow(table, {TextItem(FromUtf8(title)), TextItem(why)});
    table->setSpan(table->rowCount() - 1, 1, 1, table->columnCount() - 1);
}

QString NotStored() {
    return AwardsPanel::tr("Not known: the database holds logs imported before it kept the "
                           "order of their kills (qla reanalyze reads them again).");
}

void FillAwards(QTableWidget* table, const std::vector<AwardResult>& awards) {
    for (const AwardResult& award : awards) {
        const AwardRule& rule = RuleOf(award.Id);
        if (!award.Known || award.Entries.empty()) {
            AddEmptyRow(table, rule.Title,
                        award.Known ? AwardsPanel::tr("Nobody yet.") : NotStored());
            continue;
        }
        for (const AwardEntry& entry : award.Entries)
            AddRow(
                table,
                {TextItem(FromUtf8(rule.Title)), NameItem(entry.Player),
                 entry.Other.empty() ? nullptr : NameItem(entry.Other),
                 TextItem(QString::fromStdString(entry.Subject)),
                 NumberItem(award.Id == AwardId::FirstBlood
                                ? QString()
                                : QString::fromStdString(AwardValueText(award.Id, entry.Value)))});
    }
}

void FillRecords(QTableWidget* table, const std::vector<AwardRecord>& records) {
    for (const AwardRecord& record : records) {
        if (!record.Known || !record.Held) {
            AddEmptyRow(table, record.Title,
                        record.Known ? AwardsPanel::tr("Nobody yet.") : NotStored());
            continue;
        }
        AddRow(table, {TextItem(FromUtf8(record.Title)), NameItem(record.Player),
                       NumberItem(QString::fromStdString(RecordValueText(record))),
                       NumberItem(QStringLiteral("%1 / %2").arg(record.Kills).arg(record.Deaths)),
                       TextItem(QString::fromStdString(record.Log)),
                       TextItem(QString::fromStdString(record.Date))});
    }
}

} // namespace

AwardsPanel::AwardsPanel(const AnalysisStore& store, AwardsSource source, QWidget* parent)
    : QWidget(parent), store_(store), source_(std::move(source)) {
    setObjectName(QStringLiteral("fraAwards"));
    lblAwardsNote_ = new QLabel(this);
    lblAwardsNote_->setObjectName(QStringLiteral("lblAwardsNote"));
    lblAwardsNote_->setWordWrap(true);
    tblAwards_ = AwardTable(
        "tblAwards", {tr("Award"), tr("Player"), tr("Against"), tr("Weapon or log"), tr("Value")},
        this);
    tblRecords_ = AwardTable(
        "tblRecords",
        {tr("Record"), tr("Player"), tr("Value"), tr("Kills / deaths"), tr("Log"), tr("Date")},
        this);
    // The records' third column is a number, not a name.
    tblRecords_->setItemDelegateForColumn(2, nullptr);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(tblAwards_);
    splitter->addWidget(tblRecords_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblAwardsNote_);
    layout->addWidget(splitter, 1);
    Clear();
}

void AwardsPanel::ResultsChanged() {
    stale_ = true;
    if (isVisible())
        ShowAwards();
}

void AwardsPanel::Clear() {
    stale_ = false;
    tblAwards_->setRowCount(0);
    tblRecords_->setRowCount(0);
    lblAwardsNote_->setText(tr("Analyze a log to see who won what."));
}

void AwardsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        ShowAwards();
}

void AwardsPanel::ShowAwards() {
    stale_ = false;
    tblAwards_->setRowCount(0);
    tblRecords_->setRowCount(0);
    std::string error;
    std::optional<StatisticsSiteSource> source =
        source_ ? source_(error) : std::optional<StatisticsSiteSource>(StatisticsSiteSource());
    if (!source) {
        // Empty: the analysis is read again with the order of the kills, and comes back here.
        lblAwardsNote_->setText(error.empty() ? tr("Reading the order of the kills...")
                                              : QString::fromStdString(error));
        return;
    }
    ExportRequest scratch;
    SetStatisticsSite(scratch, {}, std::move(*source));
    const DashboardSettings& settings = scratch.Dashboard;
    // Two rating fits and the streaks of a long history: off the window's thread.
    const auto [awards, records] = RunBesideWindow([&] {
        return std::pair(AllTimeAwards(store_, settings), SessionRecords(store_, settings));
    });
    FillAwards(tblAwards_, awards);
    FillRecords(tblRecords_, records);
    lblAwardsNote_->setText(
        tr("Over everything analysed, by the rules the statistics site and qla awards follow; the "
           "records are the best of any one session."));
}

} // namespace qla::ui
