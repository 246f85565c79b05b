// The window in German: with the German translation installed every page and dialog shows
// German captions, tooltips and messages, every control keeps its objectName, the log language
// box still chooses the language of the log, and every caption the export views give the window
// is translated. Before German is installed, an English desktop keeps every text as it was.
#include "export/export_views.h"
#include "ui/export_all_dialog.h"
#include "ui/export_captions.h"
#include "ui/options_dialog.h"
#include "ui/splash.h"
#include "ui/text_export_dialog.h"
#include "ui/version.h"
#include "ui_test_support.h"
#include "window_language.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include <map>
#include <set>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

// Every text a user reads on `root` and its children, keyed by objectName (items of tab bars
// and combo boxes as "name#index", tooltips as "name@tip").
using Captions = std::map<QString, QString>;

void Collect(QWidget* widget, Captions& captions) {
    const QString name = widget->objectName();
    if (name.isEmpty())
        return;
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        text = group->title();
    else if (auto* tabs = qobject_cast<QTabBar*>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            captions[name + '#' + QString::number(i)] = tabs->tabText(i);
    else if (auto* box = qobject_cast<QComboBox*>(widget); box && !box->isEditable())
        for (int i = 0; i < box->count(); ++i)
            captions[name + '#' + QString::number(i)] = box->itemText(i);
    captions[name] = widget->isWindow() ? widget->windowTitle() : text;
    if (!widget->toolTip().isEmpty())
        captions[name + '@'] = widget->toolTip();
}

Captions CaptionsOf(QWidget* root) {
    Captions captions;
    Collect(root, captions);
    for (QWidget* child : root->findChildren<QWidget*>())
        Collect(child, captions);
    return captions;
}

// The main window, the three export dialogs and the splash, as a user meets them.
Captions EveryCaption() {
    Harness h;
    Captions all = CaptionsOf(&h.window);
    frmOptions options(&h.window);
    frmTextExport text(&h.window);
    frmExportAllStatus site({&h.store, QString(), QStringLiteral("."), false}, h.dialogs, h.desktop,
                            &h.window);
    frmSplash splash;
    for (QWidget* dialog : std::initializer_list<QWidget*>{&options, &text, &site, &splash})
        for (const auto& [name, caption] : CaptionsOf(dialog))
            all[dialog->objectName() + '/' + name] = caption;
    return all;
}

// Texts that are the same in German, and controls that show data rather than captions (names,
// addresses, the product's name, numbers, the game title to type over).
const std::set<QString> kSameInGerman{"HTML",      "XML",    "Text",      "Standard", "Teamkills",
                                      "OK",        "Status", "Homepage:", "Version:", "...",
                                      "Textchats", "JSON",   "CSV"};
const std::set<QString> kDataControls{"lblMadeBy",        "lblEmail",         "lblHomepage",
                                      "Label27(0)",       "Label28",          "Label27(1)",
                                      "txtServerName",    "frmMain",          "frmSplash/frmSplash",
                                      "frmSplash/Label1", "frmSplash/Image1", "frmSplash/Label2"};

bool HasLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

constexpr int kGermanKills = 5;

// A log in the game's German wording, Latin-1 like the game writes it: enough kills for the
// window to propose reading it as German.
QString WriteGermanLog(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("deutsch.log"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("logfile opened on Sun Aug 21 08:36:06 2005\r\n");
        for (int i = 0; i < kGermanKills; ++i)
            file.write("[skipnotify]Viper^7 wurde get\xf6tet von Kid^7 - Thompson\r\n");
    }
    return path;
}

} // namespace

class GermanWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // An English desktop installs nothing: the window keeps the English it is written in.
        QVERIFY(
            !qla::InstallWindowLanguage(*qApp, QLocale(QLocale::English, QLocale::UnitedKingdom)));
        english_ = EveryCaption();
        QCOMPARE(english_.at("tabMain#1"), QStringLiteral("Analyze Logfile"));
        QCOMPARE(english_.at("Label3"), QStringLiteral("Kills"));
        QVERIFY(qla::InstallWindowLanguage(*qApp, QLocale(QLocale::German, QLocale::Germany)));
        german_ = EveryCaption();
    }

    void everyControlKeepsItsNameAndEveryCaptionIsGerman() {
        std::set<QString> englishNames, germanNames;
        for (const auto& [name, caption] : english_)
            englishNames.insert(name);
        for (const auto& [name, caption] : german_)
            germanNames.insert(name);
        QVERIFY(englishNames == germanNames);
        QVERIFY2(englishNames.size() > 150, qPrintable(QString::number(englishNames.size())));

        QStringList stillEnglish;
        for (const auto& [name, caption] : english_) {
            if (!HasLetters(caption) || kSameInGerman.count(caption) || kDataControls.count(name))
                continue;
            if (german_.at(name) == caption)
                stillEnglish << name + QStringLiteral(": ") + caption;
        }
        QVERIFY2(stillEnglish.isEmpty(), qPrintable(stillEnglish.join('\n')));
    }

    void germanCaptionsOnEveryPageAndDialog() {
        const std::pair<const char*, const char*> expected[] = {
            {"tabMain#0", "Logdatei-Informationen"},
            {"tabMain#1", "Logdatei analysieren"},
            {"tabMain#2", "Logdatei exportieren"},
            {"tabMain#3", "Über"},
            {"cmdOpen", "Datei öffnen"},
            {"lblLanguage", "Sprache der Logdatei"},
            {"cmbLanguage#1", "Deutsch"},
            {"cmbRecognition#0", "Klassisch"},
            {"cmdStart", "Analysieren"},
            {"cmdStart@", "Aktuelle Logdatei analysieren"},
            {"Label3", "Abschüsse"},
            {"Label5", "Tode"},
            {"lblPlayers", "Spieler"},
            {"lblPlayername", "Gewählter Spieler"},
            {"Label4", "Fortschritt"},
            {"tabExport#1", "Spielerdetails"},
            {"chkStandard(3)", "Verhältnis Abschüsse / Tode"},
            {"optWeaponDetails(4)", "Meiste Tode durch:"},
            {"cmbSortHow(0)#1", "Absteigend"},
            {"optOther(0)", "Übrige Logzeilen"},
            {"cmbExportType#1", "Textausgabe"},
            {"cmdExport", "Exportieren"},
            {"Label29", "Website von Quarvel Clan:"},
            {"cmdCheckForUpdate", "Nach Updates suchen"},
            {"frmOptions/frmOptions", "Exportoptionen"},
            {"frmOptions/cmdCancel", "Abbrechen"},
            {"frmTextExport/frmTextExport", "TXT exportieren"},
            {"frmTextExport/Label1", "Trennzeichen"},
            {"frmExportAllStatus/frmExportAllStatus", "Alle Daten exportieren"},
            {"frmExportAllStatus/optFileExists(1)", "Datei überspringen"},
            {"frmSplash/Label3", "Bitte warten... wird geladen"},
        };
        for (const auto& [name, caption] : expected) {
            const QString key = QString::fromUtf8(name);
            QVERIFY2(german_.count(key), name);
            QCOMPARE(german_.at(key), QString::fromUtf8(caption));
        }
    }

    void messagesAndFileDialogsInGerman() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Harness h;
        h.dialogs.QueueButton(QMessageBox::Ok);
        Click(&h.window, QStringLiteral("cmdStart"));
        QCOMPARE(h.dialogs.shown.last().Title, QStringLiteral("Analyse starten"));
        QCOMPARE(h.dialogs.shown.last().Text, QString::fromUtf8("Öffnen Sie zuerst eine Logdatei"));

        h.OpenAndAnalyze(WriteLog(dir, QStringLiteral("game.log"),
                                  {KillLine(QStringLiteral("Bob"), QStringLiteral("Al"))}));
        const ShownDialog& open = h.dialogs.shown.last();
        QCOMPARE(open.Title, QString::fromUtf8("Quarvel-Logdatei öffnen"));
        QCOMPARE(open.Filters,
                 QStringList({"Logdatei (*.log)", "Textdatei (*.txt)", "Alle Dateien (*)"}));
        QCOMPARE(Control<QLabel>(&h.window, QStringLiteral("lblPlayers"))->text(),
                 QStringLiteral("Spieler (2)"));

        // Player Details without a chosen player.
        Control<QTabBar>(&h.window, QStringLiteral("tabExport"))->setCurrentIndex(1);
        h.dialogs.QueueButton(QMessageBox::Ok);
        Click(&h.window, QStringLiteral("cmdExport"));
        QCOMPARE(h.dialogs.shown.last().Title, QStringLiteral("Exportieren"));
        QCOMPARE(h.dialogs.shown.last().Text, QStringLiteral("Wählen Sie zuerst einen Spieler"));

        // XML of the weapons: only the standard view takes it.
        Control<QTabBar>(&h.window, QStringLiteral("tabExport"))->setCurrentIndex(2);
        Control<QComboBox>(&h.window, QStringLiteral("cmbExportType"))->setCurrentIndex(2);
        h.dialogs.QueueButton(QMessageBox::Ok);
        Click(&h.window, QStringLiteral("cmdExport"));
        QCOMPARE(h.dialogs.shown.last().Text,
                 QString::fromUtf8("XML-Export wird nur für die Ansicht standard unterstützt"));

        // The save dialog offers the format's filter in German.
        Control<QTabBar>(&h.window, QStringLiteral("tabExport"))->setCurrentIndex(0);
        Control<QComboBox>(&h.window, QStringLiteral("cmbExportType"))->setCurrentIndex(0);
        h.dialogs.QueuePath(QString());
        Click(&h.window, QStringLiteral("cmdExport"));
        QCOMPARE(h.dialogs.shown.last().Title, QStringLiteral("Als HTML exportieren"));
        QCOMPARE(h.dialogs.shown.last().Filters, QStringList("HTML-Dateien (*.html *.htm)"));
        QVERIFY(h.dialogs.AllAnswersUsed());
    }

    void logLanguageBoxStillChoosesTheLogsLanguage() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString log = WriteGermanLog(dir);
        Harness h;
        auto* language = Control<QComboBox>(&h.window, QStringLiteral("cmbLanguage"));
        QCOMPARE(language->currentIndex(), 0); // English logs stay the default
        // Opening proposes German in German words, and Yes switches the box.
        h.dialogs.QueuePath(log);
        h.dialogs.QueueButton(QMessageBox::Yes);
        Click(&h.window, QStringLiteral("cmdOpen"));
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.dialogs.shown[1].Text,
                 QString::fromUtf8("Die Abschuss- und Todeszeilen dieses Logs sind auf Deutsch "
                                   "geschrieben.\r\nAls deutsches Log analysieren?"));
        QCOMPARE(language->currentIndex(), 1);

        // The box, not the window's language, says how the log is read.
        language->setCurrentIndex(0);
        Click(&h.window, QStringLiteral("cmdStart"));
        QCOMPARE(h.Text(QStringLiteral("txtKills")), QStringLiteral("0"));
        const int unknownAsEnglish = h.Text(QStringLiteral("txtUnknown")).toInt();
        language->setCurrentIndex(1);
        Click(&h.window, QStringLiteral("cmdStart"));
        QCOMPARE(h.Text(QStringLiteral("txtKills")), QString::number(kGermanKills));
        QCOMPARE(h.Text(QStringLiteral("txtUnknown")).toInt(), unknownAsEnglish - kGermanKills);
        QVERIFY(h.dialogs.AllAnswersUsed());
    }

    void everyExportCaptionIsTranslatable() {
        std::set<std::string_view> marked;
        for (const char* caption : TranslatableExportCaptions())
            marked.insert(caption);
        std::vector<std::string_view> captions;
        for (const qla::ExportFormatInfo& format : qla::ExportFormats())
            captions.insert(captions.end(), {format.Caption, format.Kind, format.FileFilter});
        for (const qla::ExportViewInfo& view : qla::ExportViews()) {
            captions.push_back(view.Tab);
            if (!view.Choice.empty())
                captions.push_back(view.Choice);
            for (const qla::CheckOption& check : view.Checks)
                captions.push_back(check.Caption);
            for (const qla::OrderOption& order : view.Orders)
                captions.push_back(order.Caption);
        }
        for (std::string_view caption : captions) {
            QVERIFY2(marked.count(caption), caption.data());
            const QString english = FromUtf8(caption);
            QVERIFY2(ExportCaption(caption) != english || kSameInGerman.count(english),
                     caption.data());
        }
    }

  private:
    Captions english_;
    Captions german_;
};

QTEST_MAIN(GermanWindowTest)
#include "german_window_test.moc"
