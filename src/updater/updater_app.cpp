// Start-up of the updater program.
#include "updater_app.h"

#include "desktop.h"
#include "message_boxes.h"
#include "update_texts.h"
#include "window_language.h"

#include <QApplication>
#include <QCommandLineParser>

namespace qla::updater {

namespace {

// The one positional argument, or nothing when the command line is not exactly that.
std::optional<QString> VersionArgument(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(
        QStringLiteral("version"),
        QStringLiteral("Installed analyzer version, major.minor.revision"));
    if (!parser.parse(arguments) || parser.positionalArguments().size() != 1)
        return std::nullopt;
    return parser.positionalArguments().front();
}

} // namespace

QUrl UpdateAddress() {
    const QString configured = qEnvironmentVariable(texts::kUpdateAddressVariable);
    return QUrl(configured.isEmpty() ? texts::kDefaultUpdateAddress : configured);
}

QString UpdaterFolder() {
    return QCoreApplication::applicationDirPath();
}

std::unique_ptr<frmUpdate> StartUpdater(const QStringList& arguments,
                                        const UpdaterServices& services, const QString& programDir,
                                        int deadlineMs) {
    const auto argument = VersionArgument(arguments);
    const auto version = argument ? ParseVersionArgument(*argument) : std::nullopt;
    if (!version) {
        services.Boxes.show(nullptr, QMessageBox::Warning, texts::CommandLineTitle(),
                            texts::CommandLineText());
        return nullptr;
    }
    UpdateSettings settings{*version, UpdateAddress(), programDir, deadlineMs};
    auto window = std::make_unique<frmUpdate>(settings, services);
    window->Start();
    return window;
}

int RunUpdater(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallWindowLanguage(app);
    SystemMessageBoxes boxes;
    SystemBrowser browser;
    SystemProgramLauncher launcher;
    const auto window = StartUpdater(app.arguments(), {boxes, browser, launcher});
    if (!window)
        return 1;
    return app.exec();
}

} // namespace qla::updater
