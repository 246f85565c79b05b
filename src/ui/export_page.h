// The "Export Logfile" page: what to export (ExportChoices), the type of file, "Open file after
// save", Options... and Export, which turns the page into an export request and runs it.
#pragma once

#include "analysis/analysis.h"
#include "export/export_views.h"
#include "export/statistics_site_settings.h"
#include "export/text_export.h"
#include "stats/statistics.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace qla::ui {

class Desktop;
class Dialogs;
class ExportChoices;
class LogInfoPage;
class WindowMemory;

class ExportPage final : public QWidget {
    Q_OBJECT

  public:
    // The game title and the log's date are read from `logInfo` at every export; `lastTotals`
    // gives the last analysis run's totals, which the statistics site shows.
    ExportPage(const AnalysisStore& store, const LogInfoPage& logInfo, Dialogs& dialogs,
               Desktop& desktop, WindowMemory& memory,
               std::function<AnalysisTotals()> lastTotals = {}, QWidget* parent = nullptr);

    // The file name offered first: the one written in an earlier run.
    void ShowRemembered();

    // The names offered for the player details, none of them chosen yet.
    void ShowPlayerChoices(const QStringList& names);

    // Export is disabled at start-up and while an analysis or export runs.
    void SetControlsEnabled(bool enabled);

    // The date header of what the store was read from when it is not the open log (a statistics
    // database's selection), for the list of other lines; nullopt: the log's own.
    void UseSourceDate(std::optional<std::string> date) { sourceDate_ = std::move(date); }
    // Where the statistics site's figures come from when the store is not the open log; nullopt
    // with the reason in `error` when they cannot be read. Empty: the log's.
    using SiteSource = std::function<std::optional<StatisticsSiteSource>(std::string& error)>;
    void UseSiteSource(SiteSource source) { siteSource_ = std::move(source); }
    // What the statistics site would be made of now: the database's figures, or the open log's
    // name, date and totals; nothing (with the reason) when they cannot be read.
    std::optional<StatisticsSiteSource> SiteSourceNow(std::string& error) const;
    // Called before each export of a view with the view: it makes the store hold the texts the
    // view shows (a database's selection is read without them), false when it could not, having
    // said why. Empty: the store holds them (a log).
    using StoreCompletion = std::function<bool(ExportView view)>;
    void UseStoreCompletion(StoreCompletion complete) { completeStore_ = std::move(complete); }
    // Where the export of a view reads the chats and other lines when the store was read
    // without them: rows streamed for it; nullptr when the store holds them (it may read them
    // now); nullopt when they cannot be read, with the reason in `error` (empty: said already).
    // Empty: the store holds them (a log).
    using LineSourceFor = std::function<std::optional<std::shared_ptr<const LineSource>>(
        ExportView view, std::string& error)>;
    void UseLineSource(LineSourceFor lines) { lineSource_ = std::move(lines); }

  signals:
    // True while a writer runs (it yields to the window), false once it ended.
    void runningChanged(bool running);

  private:
    void ExportCurrentView();
    void ExportToFile(const ExportViewInfo& view, const ExportFormatInfo& format);
    void ExportStatisticsSite();
    // Runs the request with the window held still, then says where it was saved or why not
    // (the writer's text, then `shown` on a line of its own). True when it was written.
    bool RunAndReport(const ExportRequest& request, const QString& shown,
                      const LineSource* lines = nullptr);
    // The rows the export of `view` streams (null: the store's), or false having said why not.
    bool StreamedLinesFor(ExportView view, std::shared_ptr<const LineSource>& lines);
    // Proposes a name (export_file_name.h) and asks about replacing an existing file.
    QString AskExportPath(const ExportViewInfo& view, const ExportFormatInfo& format);
    ExportRequest RequestFromPage(ExportView view, ExportFormat format) const;
    void ShowExportOptions();

    const AnalysisStore& store_;
    const LogInfoPage& logInfo_;
    Dialogs& dialogs_;
    Desktop& desktop_;

    // Chosen in "Export TXT"; kept from one OK to the next.
    TextExportOptions textOptions_;
    QString lastExportPath_;
    QString lastExportKind_; // view, format and player of the export written to lastExportPath_
    WindowMemory& memory_;
    std::function<AnalysisTotals()> lastTotals_;
    std::optional<std::string> sourceDate_;
    SiteSource siteSource_;
    StoreCompletion completeStore_;
    LineSourceFor lineSource_;

    ExportChoices* choices_ = nullptr;
    QPushButton* cmdOptions_ = nullptr;
    QCheckBox* chkOpenSavedFile_ = nullptr;
    QComboBox* cmbExportType_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
    QLabel* lblExportStatus_ = nullptr; // "Saved to PATH" after a single export
};

} // namespace qla::ui
