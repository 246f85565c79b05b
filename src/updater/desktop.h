// The updater's two ways out to the desktop: opening a web address in the browser and starting
// the analyzer. Both are interfaces so the window can be tested without side effects.
#pragma once

#include <QString>
#include <QUrl>

namespace qla::updater {

class Browser {
  public:
    virtual ~Browser() = default;
    // Gives no feedback on failure: there is nothing useful the updater could do about it.
    virtual void openAddress(const QUrl& address) = 0;
};

class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    // Starts the program detached, in its own folder. Returns false when it could not start.
    virtual bool start(const QString& programPath) = 0;
};

class SystemBrowser final : public Browser {
  public:
    void openAddress(const QUrl& address) override;
};

class SystemProgramLauncher final : public ProgramLauncher {
  public:
    bool start(const QString& programPath) override;
};

} // namespace qla::updater
