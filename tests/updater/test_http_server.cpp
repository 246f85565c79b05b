// A minimal HTTP server for tests: enough of HTTP/1.1 for one GET per connection.
#include "test_http_server.h"

#include <QTcpSocket>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &TestHttpServer::OnNewConnection);
}

bool TestHttpServer::Listen() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

QUrl TestHttpServer::Url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

void TestHttpServer::SetResponse(int status, const QByteArray& body) {
    status_ = status;
    body_ = body;
}

QByteArray TestHttpServer::LastHeader(const QByteArray& name) const {
    if (requests_.isEmpty())
        return {};
    const QList<QByteArray> lines = requests_.back().split('\n');
    for (const QByteArray& line : lines) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

RefusingPort::RefusingPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket_ >= 0 && ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port_ = ntohs(address.sin_port);
    else
        qFatal("cannot bind a refusing port on 127.0.0.1");
}

RefusingPort::~RefusingPort() {
    if (socket_ >= 0)
        ::close(socket_);
}

QUrl RefusingPort::Url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/analyzer/analyzer.update").arg(port_));
}

void TestHttpServer::OnNewConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TestHttpServer::OnReadyRead(QTcpSocket* socket) {
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    requests_.append(head);
    if (silent_)
        return;
    if (redirect_.isValid()) {
        socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirect_.toEncoded() +
                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    if (dripMs_ > 0) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 100000\r\n"
                      "Connection: close\r\n\r\n");
        auto* drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
        drip->start(dripMs_);
        return;
    }

    const QByteArray reason = status_ == 200 ? "OK" : status_ == 404 ? "Not Found" : "Error";
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status_) + ' ' + reason + "\r\n";
    response += "Content-Type: text/plain\r\n";
    response += "Content-Length: " + QByteArray::number(body_.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    response += body_;
    socket->write(response);
    socket->disconnectFromHost();
}
