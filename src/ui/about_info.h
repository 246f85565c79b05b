// The names and addresses on the About page.
#pragma once

#include "ui/version.h"

#include <QString>

namespace qla::ui::about {

inline const QString kMaker = QStringLiteral("Quarvel Analyzer team");
inline const QString kMakerEmail = QStringLiteral("team@quarvel.example.org");
inline const QString kHomepage = FromUtf8(kHomePage);
inline const QString kTester = QStringLiteral("Quarvel test squad");
inline const QString kTesterEmail = QStringLiteral("testers@quarvel.example.org");
inline const QString kClan = QStringLiteral("Quarvel Clan");
inline const QString kClanSite = QStringLiteral("https://clan.quarvel.example.org");
inline const QString kTranslator = QStringLiteral("Quarvel translation team");
inline const QString kTranslatorEmail = QStringLiteral("translation@quarvel.example.org");

} // namespace qla::ui::about
