// One HTTP GET of the update information file, without blocking the window: the result arrives
// through finished(), and abort() ends a running fetch at once. The whole fetch, redirects and
// a slowly dripping body included, has one deadline.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

namespace qla::updater {

class UpdateFetch : public QObject {
    Q_OBJECT

  public:
    // The agent name the update server expects from the updater.
    static inline const QByteArray kAgentName = "vb wininet";
    // The file is a few hundred bytes; anything far larger is not it.
    static constexpr qint64 kMaxBytes = 64 * 1024;

    // deadlineMs: a fetch not finished this long after start() fails ("no answer within ...").
    explicit UpdateFetch(int deadlineMs, QObject* parent = nullptr);
    ~UpdateFetch() override;

    void start(const QUrl& address);
    void abort();
    bool isRunning() const { return !reply_.isNull(); }

  signals:
    // ok is false on any failure (no connection, HTTP error status, deadline, abort); text is
    // the body decoded from the system code page and is empty on failure. wrongData tells a
    // failure where the server answered with something that cannot be update information (far
    // too large) from one where no answer came.
    void finished(bool ok, const QString& text, const QString& error, bool wrongData);

  private:
    void onReadyRead();
    void onFinished();

    int deadlineMs_;
    QTimer deadline_;
    bool deadlinePassed_ = false;
    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    QByteArray received_;
    bool tooLarge_ = false;
};

} // namespace qla::updater
