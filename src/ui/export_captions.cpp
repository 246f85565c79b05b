// The export views' captions for lupdate to find, and their translation.
#include "ui/export_captions.h"

#include <QCoreApplication>

#include <string>

namespace qla::ui {

namespace {

constexpr const char* kCaptions[] = {
    // file types: caption, kind, save dialog filter
    QT_TRANSLATE_NOOP("ExportCaptions", "HTML"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Text dump"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Text"),
    QT_TRANSLATE_NOOP("ExportCaptions", "XML"),
    QT_TRANSLATE_NOOP("ExportCaptions", "HTML Files (*.html *.htm)"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Text files (*.txt)"),
    QT_TRANSLATE_NOOP("ExportCaptions", "XML Files (*.xml)"),
    QT_TRANSLATE_NOOP("ExportCaptions", "JSON"),
    QT_TRANSLATE_NOOP("ExportCaptions", "CSV"),
    QT_TRANSLATE_NOOP("ExportCaptions", "JSON Files (*.json)"),
    QT_TRANSLATE_NOOP("ExportCaptions", "CSV Files (*.csv)"),
    // tabs and the choices of the shared tab
    QT_TRANSLATE_NOOP("ExportCaptions", "Standard"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Player Details"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Weapon Details"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Voice Chat"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Text Chat"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Other"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Logfile Junk"),
    QT_TRANSLATE_NOOP("ExportCaptions", "All data (standard + players + weapons)"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Export statistics site"),
    // check boxes and "Order by" options
    QT_TRANSLATE_NOOP("ExportCaptions", "Player name"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Number of kills"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Number of deaths"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Kill / Death ratio"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Teamkills"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Appearance in logfile"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Kills"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Deaths"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Self kills"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Teamdeaths"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Used weapons"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Player names"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Numbers"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Weapon name"),
    QT_TRANSLATE_NOOP("ExportCaptions", "% of total kills"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Most kills by: [player]"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Most deaths by: [player]"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Most kills by:"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Most deaths by:"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Standard order"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Location"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Team chat"),
    QT_TRANSLATE_NOOP("ExportCaptions", "Global chat"),
};

} // namespace

QString ExportCaption(std::string_view english) {
    const std::string source(english);
    return QCoreApplication::translate("ExportCaptions", source.c_str());
}

std::span<const char* const> TranslatableExportCaptions() {
    return kCaptions;
}

} // namespace qla::ui
