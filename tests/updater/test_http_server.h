// A small HTTP/1.1 server on 127.0.0.1 for the updater tests. It answers every GET with one
// configured response, a redirect, a body dripped a byte at a time, or never answers at all, and
// keeps the request heads it received.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

class TestHttpServer : public QObject {
    Q_OBJECT

  public:
    explicit TestHttpServer(QObject* parent = nullptr);

    // Listens on a free port of 127.0.0.1.
    bool Listen();
    QUrl Url(const QString& path = QStringLiteral("/analyzer/analyzer.update")) const;

    void SetResponse(int status, const QByteArray& body);
    // Accepts connections and reads requests but never sends a byte back.
    void SetSilent(bool silent) { silent_ = silent; }
    // Answers "302 Found" with this Location.
    void SetRedirect(const QUrl& location) { redirect_ = location; }
    // Sends the head of a long body, then one byte every `intervalMs`, never finishing.
    void SetDrip(int intervalMs) { dripMs_ = intervalMs; }

    // Complete request heads, in order of arrival.
    const QList<QByteArray>& Requests() const { return requests_; }
    // The value of one header of the last request, or empty.
    QByteArray LastHeader(const QByteArray& name) const;

  private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket* socket);

    QTcpServer server_;
    int status_ = 200;
    QByteArray body_;
    bool silent_ = false;
    QUrl redirect_;
    int dripMs_ = 0;
    QList<QByteArray> requests_;
};

// A port of 127.0.0.1 that refuses every connection for as long as this object lives: a socket
// bound to it without listening. (A port taken and let go again could be given to another
// test's server running beside this one, which would then answer.)
class RefusingPort {
  public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    QUrl Url() const;

  private:
    int socket_ = -1;
    quint16 port_ = 0;
};
