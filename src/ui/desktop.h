// The analyzer's ways out to the desktop: the web browser, mail links and starting a program.
// One interface, so tests observe what would be opened or started.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace qla::ui {

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Hands the address to the desktop's registered program (browser or mail client).
    virtual bool openAddress(const QUrl& address) = 0;
    // Starts the program detached. Returns false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

class SystemDesktop final : public Desktop {
  public:
    bool openAddress(const QUrl& address) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
};

// Opens a web address or a written file in the browser. A text without a scheme is a local
// path and becomes a file address. The result is ignored by every caller, as nothing more can
// be done about a browser that did not open.
void OpenInNewBrowserWindow(Desktop& desktop, const QString& address);

// Opens "mailto:" + address with the desktop's mail program.
void OpenMailLink(Desktop& desktop, const QString& address);

} // namespace qla::ui
