// One HTTP GET of the update information file, without blocking the window: the result arrives
// through finished(), and abort() ends a running fetch at once.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
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

    // transferTimeoutMs: a server that stops sending for this long counts as a failed download.
    explicit UpdateFetch(int transferTimeoutMs, QObject* parent = nullptr);
    ~UpdateFetch() override;

    void start(const QUrl& address);
    void abort();
    bool isRunning() const { return !reply_.isNull(); }

  signals:
    // ok is false on any failure (no connection, HTTP error status, timeout, abort); text is the
    // body decoded from the system code page and is empty on failure.
    void finished(bool ok, const QString& text, const QString& error);

  private:
    void onReadyRead();
    void onFinished();

    int transferTimeoutMs_;
    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    QByteArray received_;
    bool tooLarge_ = false;
};

} // namespace qla::updater
