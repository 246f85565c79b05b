// Start-up of the updater program: command-line validation, the update address, and the
// whole program as one function that main() forwards to.
#pragma once

#include "frm_update.h"

#include <QStringList>
#include <QUrl>

#include <memory>

namespace qla::updater {

// QLA_UPDATE_URL when set and not empty, else the maker's update server.
QUrl UpdateAddress();

// The folder the updater's own program file lies in: the analyzer is expected beside it.
QString UpdaterFolder();

// Validates the command line (arguments include the program name, as QCoreApplication gives
// them). A bad one shows the warning and returns null; otherwise the window is shown with
// the check running.
std::unique_ptr<frmUpdate> StartUpdater(const QStringList& arguments,
                                        const UpdaterServices& services,
                                        const QString& programDir = UpdaterFolder(),
                                        int deadlineMs = 30000);

int RunUpdater(int argc, char** argv);

} // namespace qla::updater
