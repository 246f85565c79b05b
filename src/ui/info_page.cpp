// The "Logfile Information" page: Open File, the game title, the file's facts and the language.
#include "ui/main_window.h"

#include "ui/busy_pointer.h"
#include "ui/dialogs.h"
#include "ui/version.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qla::ui {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* ReadOnlyBox(const char* name, const QString& tooltip, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setToolTip(tooltip);
    return box;
}

} // namespace

QWidget* frmMain::BuildInfoPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    cmdOpen_ = new QPushButton(QStringLiteral("Open File"), page);
    cmdOpen_->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen_->setToolTip(QStringLiteral("Open a logfile"));
    connect(cmdOpen_, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
    grid->addWidget(cmdOpen_, 0, 0, Qt::AlignLeft);

    txtServerName_ = new QLineEdit(kPlaceholderTitle, page);
    txtServerName_->setObjectName(QStringLiteral("txtServerName"));
    txtServerName_->installEventFilter(this);

    txtFilename_ = ReadOnlyBox("txtFilename", QStringLiteral("Filename"), page);
    // A long path is read in full from the tooltip.
    connect(txtFilename_, &QLineEdit::textChanged, txtFilename_, &QLineEdit::setToolTip);
    txtDateTime_ = ReadOnlyBox("txtDateTime", QStringLiteral("Date / Time logfile created"), page);
    txtLines_ = ReadOnlyBox("txtLines", QStringLiteral("Number of lines in the logfile"), page);

    cmbLanguage_ = new QComboBox(page);
    cmbLanguage_->setObjectName(QStringLiteral("cmbLanguage"));
    cmbLanguage_->addItems({QStringLiteral("English"), QStringLiteral("German")});

    const std::array<std::pair<QLabel*, QWidget*>, 5> rows{{
        {NamedLabel("Label31", QStringLiteral("Game title"), page), txtServerName_},
        {NamedLabel("Label11", QStringLiteral("Filename"), page), txtFilename_},
        {NamedLabel("Label1", QStringLiteral("Logfile date/time"), page), txtDateTime_},
        {NamedLabel("Label2", QStringLiteral("Number of lines"), page), txtLines_},
        {NamedLabel("lblLanguage", QStringLiteral("Logfile Language"), page), cmbLanguage_},
    }};
    int row = 1;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, field == cmbLanguage_ ? Qt::AlignLeft : Qt::Alignment());
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

void frmMain::cmdOpen_Click() {
    const QString path =
        dialogs_.openFile(this, QStringLiteral("Open Quarvel Log file"),
                          {QStringLiteral("Log file (*.log)"), QStringLiteral("Text file (*.txt)"),
                           QStringLiteral("All files (*)")});
    OpenLog(path);
}

void frmMain::OpenLog(const QString& path) {
    if (running_)
        return;
    OpenLogResult result;
    {
        const BusyPointer busy;
        result = OpenLogFile(store_, QFile::encodeName(path).toStdString());
    }
    // A file that cannot be read leaves the window as it was and Analyze then refuses; the
    // user is told why, unless the dialog was cancelled and no file was chosen.
    if (!result.Opened) {
        if (!path.isEmpty())
            dialogs_.message(this, QMessageBox::Warning, kProgramTitle,
                             QString::fromStdString(result.Error));
        return;
    }
    ResetAnalysis();
    if (result.DateText)
        txtDateTime_->setText(QString::fromStdString(*result.DateText));
    txtLines_->setText(QString::number(result.LineCount));
    txtFilename_->setText(path);
}

} // namespace qla::ui
