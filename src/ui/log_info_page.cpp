// The "Logfile Information" page: Open File, the game title, the file's facts and the language.
#include "ui/log_info_page.h"

#include "analysis/language_guess.h"
#include "ui/busy_pointer.h"
#include "ui/control_names.h"
#include "ui/dialogs.h"
#include "ui/recognition_hint_bar.h"
#include "ui/version.h"
#include "ui/window_memory.h"
#include "ui/work_beside_window.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <utility>

namespace qla::ui {

namespace {

QLineEdit* ReadOnlyBox(const char* name, const QString& tooltip, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setToolTip(tooltip);
    return box;
}

} // namespace

LogInfoPage::LogInfoPage(AnalysisStore& store, Dialogs& dialogs, WindowMemory& memory,
                         LogOpenRun open, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), memory_(memory), open_(std::move(open)) {
    auto* grid = new QGridLayout(this);

    cmdOpen_ = new QPushButton(tr("Open File"), this);
    cmdOpen_->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen_->setToolTip(tr("Open a logfile"));
    connect(cmdOpen_, &QPushButton::clicked, this, &LogInfoPage::ChooseAndOpenLog);
    grid->addWidget(cmdOpen_, 0, 0, Qt::AlignLeft);

    txtServerName_ = new QLineEdit(kPlaceholderTitle, this);
    txtServerName_->setObjectName(QStringLiteral("txtServerName"));
    txtServerName_->installEventFilter(this);

    txtFilename_ = ReadOnlyBox("txtFilename", tr("Filename"), this);
    // A long path is read in full from the tooltip.
    connect(txtFilename_, &QLineEdit::textChanged, txtFilename_, &QLineEdit::setToolTip);
    txtDateTime_ = ReadOnlyBox("txtDateTime", tr("Date / Time logfile created"), this);
    txtLines_ = ReadOnlyBox("txtLines", tr("Number of lines in the logfile"), this);

    cmbLanguage_ = new QComboBox(this);
    cmbLanguage_->setObjectName(QStringLiteral("cmbLanguage"));
    cmbLanguage_->addItems({tr("English"), tr("German")});
    cmbLanguage_->setCurrentIndex(0);
    // Beside the language: how the log's lines are read. Classic keeps every number as it was.
    cmbRecognition_ = new QComboBox(this);
    cmbRecognition_->setObjectName(QStringLiteral("cmbRecognition"));
    cmbRecognition_->addItems({tr("Classic"), tr("Full")});
    cmbRecognition_->setCurrentIndex(0);
    cmbRecognition_->setToolTip(
        tr("Classic: the original phrase tables. Full: every line shape the game "
           "writes (chat by its shape, newer deaths, cut names)."));

    const std::array<std::pair<QLabel*, QWidget*>, 6> rows{{
        {NamedLabel("Label31", tr("Game title"), this), txtServerName_},
        {NamedLabel("Label11", tr("Filename"), this), txtFilename_},
        {NamedLabel("Label1", tr("Logfile date/time"), this), txtDateTime_},
        {NamedLabel("Label2", tr("Number of lines"), this), txtLines_},
        {NamedLabel("lblLanguage", tr("Logfile Language"), this), cmbLanguage_},
        {NamedLabel("lblRecognition", tr("Recognition"), this), cmbRecognition_},
    }};
    int row = 1;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1,
                        field == cmbLanguage_ || field == cmbRecognition_ ? Qt::AlignLeft
                                                                          : Qt::Alignment());
        ++row;
    }
    // Under the recognition: the hint that full recognition reads this log otherwise.
    hintBar_ = new RecognitionHintBar(memory_, this);
    connect(hintBar_, &RecognitionHintBar::fullRecognitionChosen, this,
            [this] { cmbRecognition_->setCurrentIndex(1); });
    grid->addWidget(hintBar_, row, 0, 1, 2);
    ++row;
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    // Shown only while a log is read: a moving bar, as the reading has no useful steps to count.
    lblReading_ = NamedLabel("lblReading", QString(), this);
    pgbOpen_ = new QProgressBar(this);
    pgbOpen_->setObjectName(QStringLiteral("pgbOpen"));
    pgbOpen_->setRange(0, 0);
    pgbOpen_->setTextVisible(false);
    ++row;
    grid->addWidget(lblReading_, row, 0);
    grid->addWidget(pgbOpen_, row, 1);
    lblReading_->hide();
    pgbOpen_->hide();

    using namespace memory_keys;
    connect(txtServerName_, &QLineEdit::textEdited, this,
            [this](const QString& title) { memory_.Keep(kGameTitle, title); });
    connect(cmbLanguage_, &QComboBox::currentIndexChanged, this,
            [this](int index) { memory_.Keep(kLogLanguage, index); });
    connect(cmbRecognition_, &QComboBox::currentIndexChanged, this, [this](int index) {
        memory_.Keep(kRecognition, index);
        if (index == 1)
            hintBar_->hide(); // read in full already: nothing to hint at
    });
}

void LogInfoPage::ShowRemembered() {
    using namespace memory_keys;
    // An emptied title is not kept: the next run starts with the placeholder again.
    if (const QString title = memory_.Value(kGameTitle).toString(); !title.isEmpty())
        txtServerName_->setText(title);
    const auto restore = [](QComboBox* box, const QVariant& kept) {
        const int index = kept.toInt();
        if (kept.isValid() && index >= 0 && index < box->count())
            box->setCurrentIndex(index);
    };
    restore(cmbLanguage_, memory_.Value(kLogLanguage));
    restore(cmbRecognition_, memory_.Value(kRecognition));
}

QString LogInfoPage::GameTitle() const {
    return txtServerName_->text();
}

QString LogInfoPage::LogFileName() const {
    return QFileInfo(txtFilename_->text()).fileName();
}

QString LogInfoPage::LogFilePath() const {
    return txtFilename_->text();
}

QString LogInfoPage::LogDateText() const {
    return txtDateTime_->text();
}

LogLanguage LogInfoPage::Language() const {
    return cmbLanguage_->currentIndex() == 1 ? LogLanguage::German : LogLanguage::English;
}

Recognition LogInfoPage::LineRecognition() const {
    return cmbRecognition_->currentIndex() == 1 ? Recognition::Full : Recognition::Classic;
}

void LogInfoPage::SetControlsEnabled(bool enabled) {
    cmdOpen_->setEnabled(enabled);
    cmbLanguage_->setEnabled(enabled);
    cmbRecognition_->setEnabled(enabled);
}

bool LogInfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtServerName_ && event->type() == QEvent::FocusIn)
        SelectGameTitle();
    return QWidget::eventFilter(watched, event);
}

void LogInfoPage::SelectGameTitle() {
    if (txtServerName_->text() == kPlaceholderTitle)
        txtServerName_->clear();
    txtServerName_->selectAll();
    // A mouse click places the cursor after focus arrives; select again once it has.
    QTimer::singleShot(0, txtServerName_, [box = txtServerName_] { box->selectAll(); });
}

void LogInfoPage::ChooseAndOpenLog() {
    const QString path =
        dialogs_.openFile(this, tr("Open Quarvel Log file"),
                          {tr("Log file (*.log)"), tr("Text file (*.txt)"), tr("All files (*)")},
                          memory_.Value(memory_keys::kOpenFolder).toString());
    OpenLog(path);
    if (store_.LogFileLoaded && txtFilename_->text() == path && !path.isEmpty())
        memory_.Keep(memory_keys::kOpenFolder, QFileInfo(path).absolutePath());
}

void LogInfoPage::OpenLog(const QString& path) {
    OpenLogResult result;
    {
        const BusyPointer busy;
        lblReading_->setText(tr("Reading %1").arg(QFileInfo(path).fileName()));
        lblReading_->setVisible(!path.isEmpty());
        pgbOpen_->setVisible(!path.isEmpty());
        struct HideWhenRead {
            QWidget* label;
            QWidget* bar;
            ~HideWhenRead() {
                label->hide();
                bar->hide();
            }
        } const hide{lblReading_, pgbOpen_};
        // Opening empties the store of an earlier analysis.
        const std::string file = QFile::encodeName(path).toStdString();
        result = RunBesideWindow([&] { return open_(store_, file); });
    }
    // A file that cannot be read leaves the window as it was and Analyze then refuses; the
    // user is told why, unless the dialog was cancelled and no file was chosen.
    if (!result.Opened) {
        if (!path.isEmpty())
            dialogs_.message(this, QMessageBox::Warning, kProgramTitle,
                             QString::fromStdString(result.Error));
        return;
    }
    emit logOpened();
    // A log without a date line shows none, never the date of the log opened before.
    txtDateTime_->setText(QString::fromStdString(result.DateText.value_or(std::string())));
    txtLines_->setText(QString::number(result.LineCount));
    txtFilename_->setText(path);
    ProposeOtherLanguage();
    hintBar_->ShowFor(path, store_.LogLines, Language(), LineRecognition());
}

void LogInfoPage::ProposeOtherLanguage() {
    const auto better = FarBetterLanguage(WeighLogLanguages(store_.LogLines), Language());
    if (!better)
        return;
    const bool german = *better == LogLanguage::German;
    const QString kind = german ? QStringLiteral("german") : QStringLiteral("english");
    QStringList asked = memory_.Value(memory_keys::kLanguagesAsked).toStringList();
    if (asked.contains(kind) || languagesAsked_.contains(kind))
        return;
    // The answer counts for every later log of this language, whatever it was: a user who said
    // No wants no question at each log, and a Yes is kept by the language box itself.
    languagesAsked_ << kind;
    asked << kind;
    memory_.Keep(memory_keys::kLanguagesAsked, asked);
    const QString question =
        german ? tr("The kill and death lines of this log are written in German.\r\n"
                    "Analyze it as a German log?")
               : tr("The kill and death lines of this log are written in English.\r\n"
                    "Analyze it as an English log?");
    const auto answer = dialogs_.message(this, QMessageBox::Question, kProgramTitle, question,
                                         QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        cmbLanguage_->setCurrentIndex(german ? 1 : 0);
}

} // namespace qla::ui
