// The HTTP fetch against a real server on 127.0.0.1: what it sends, what it returns, and how
// each kind of failure is reported.
#include "test_http_server.h"
#include "update_fetch.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using qla::updater::UpdateFetch;

namespace {

struct Outcome {
    bool Ok = false;
    QString Text;
    QString Error;
    bool WrongData = false;
};

// Starts a fetch and waits for its one finished() signal.
Outcome FetchAndWait(UpdateFetch& fetch, const QUrl& address) {
    QSignalSpy spy(&fetch, &UpdateFetch::finished);
    fetch.start(address);
    if (!spy.wait(10000) || spy.size() != 1)
        return {false, {}, QStringLiteral("no finished() signal")};
    return {spy[0][0].toBool(), spy[0][1].toString(), spy[0][2].toString(), spy[0][3].toBool()};
}

} // namespace

class UpdateFetchTest : public QObject {
    Q_OBJECT

  private slots:
    // A fresh server per test, so requests and settings never carry over.
    void init() {
        server_ = std::make_unique<TestHttpServer>();
        QVERIFY(server_->Listen());
    }

    // The refused cases of every updater test rely on it: while the port is held, no server
    // of this or another test can take it, and a connection to it is refused.
    void aRefusingPortStaysRefusing() {
        const RefusingPort refusing;
        QTcpServer other;
        QVERIFY(
            !other.listen(QHostAddress::LocalHost, static_cast<quint16>(refusing.Url().port())));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(refusing.Url().port()));
        QVERIFY(!client.waitForConnected(5000));
        QCOMPARE(client.error(), QAbstractSocket::ConnectionRefusedError);
    }

    void returnsBodyExactly_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("short file") << QByteArray("[update=analyzer]\r\nmajor=0\r\n");
        QTest::newRow("many chunks") << QByteArray(5000, 'x');
        QTest::newRow("empty") << QByteArray();
    }
    void returnsBodyExactly() {
        QFETCH(QByteArray, body);
        server_->SetResponse(200, body);
        UpdateFetch fetch(5000);
        const Outcome outcome = FetchAndWait(fetch, server_->Url());
        QVERIFY2(outcome.Ok, qPrintable(outcome.Error));
        QCOMPARE(outcome.Text, QString::fromLatin1(body));
        QVERIFY(!fetch.isRunning());
    }

    void sendsAgentAndBypassesCaches() {
        server_->SetResponse(200, "x");
        UpdateFetch fetch(5000);
        QVERIFY(FetchAndWait(fetch, server_->Url()).Ok);
        QCOMPARE(server_->Requests().size(), 1);
        QVERIFY(server_->Requests()[0].startsWith("GET /analyzer/analyzer.update HTTP/1.1\r\n"));
        QCOMPARE(server_->LastHeader("User-Agent"), QByteArray("vb wininet"));
        QCOMPARE(server_->LastHeader("Cache-Control"), QByteArray("no-cache"));
    }

    void failures_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("refuse");
        QTest::newRow("404") << 404 << false << false;
        QTest::newRow("500") << 500 << false << false;
        QTest::newRow("connection refused") << 200 << false << true;
        QTest::newRow("server never answers") << 200 << true << false;
    }
    void failures() {
        QFETCH(int, status);
        QFETCH(bool, silent);
        QFETCH(bool, refuse);
        server_->SetResponse(status, "[update=analyzer]\r\nnot this\r\n");
        server_->SetSilent(silent);
        // A short timeout so the silent server fails within the test.
        UpdateFetch fetch(300);
        const RefusingPort refusing;
        const Outcome outcome = FetchAndWait(fetch, refuse ? refusing.Url() : server_->Url());
        QVERIFY(!outcome.Ok);
        QVERIFY(outcome.Text.isEmpty());
        QVERIFY(!outcome.Error.isEmpty());
        QVERIFY(!outcome.WrongData); // no answer or an error status: the server was not reached
    }

    // Neither a redirect to a server that never answers nor a body that keeps coming a byte at
    // a time may hold the check beyond its one deadline.
    void deadlineCoversTheWholeFetch_data() {
        QTest::addColumn<bool>("redirect");
        QTest::newRow("redirect to a silent server") << true;
        QTest::newRow("body dripped a byte at a time") << false;
    }
    void deadlineCoversTheWholeFetch() {
        QFETCH(bool, redirect);
        TestHttpServer silent;
        QVERIFY(silent.Listen());
        silent.SetSilent(true);
        if (redirect)
            server_->SetRedirect(silent.Url(QStringLiteral("/elsewhere")));
        else
            server_->SetDrip(50); // far more often than any idle timeout
        UpdateFetch fetch(700);
        QElapsedTimer clock;
        clock.start();
        const Outcome outcome = FetchAndWait(fetch, server_->Url());
        const qint64 elapsed = clock.elapsed();
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.Error, QStringLiteral("no answer within 700 ms"));
        QVERIFY(!outcome.WrongData);
        QVERIFY2(elapsed >= 650 && elapsed < 5000, qPrintable(QString::number(elapsed)));
        if (redirect) {
            QCOMPARE(silent.Requests().size(), 1);
            QVERIFY(silent.Requests()[0].startsWith("GET /elsewhere HTTP/1.1\r\n"));
        }
    }

    void tooLargeIsAFailure() {
        server_->SetResponse(200, QByteArray(UpdateFetch::kMaxBytes + 1, 'x'));
        UpdateFetch fetch(5000);
        const Outcome outcome = FetchAndWait(fetch, server_->Url());
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.Error, QStringLiteral("the update information is too large"));
        QVERIFY(outcome.WrongData); // an answer, but not one that can be update information
    }

    void abortEndsAtOnce() {
        server_->SetSilent(true);
        UpdateFetch fetch(60000);
        QSignalSpy spy(&fetch, &UpdateFetch::finished);
        fetch.start(server_->Url());
        QTRY_COMPARE(server_->Requests().size(), 1);
        QVERIFY(fetch.isRunning());
        fetch.abort();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toBool(), false);
        QVERIFY(!fetch.isRunning());
    }

  private:
    std::unique_ptr<TestHttpServer> server_;
};

QTEST_GUILESS_MAIN(UpdateFetchTest)
#include "update_fetch_test.moc"
