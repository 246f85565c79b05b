// Parsing of the update information file and the command-line version, and the version
// comparison: plain functions, no window and no network.
#include "update_info.h"

#include <QTest>

using namespace qla::updater;

Q_DECLARE_METATYPE(Version)

namespace {

// The worked file: 0.9 build 0, with the usual addresses.
QString File(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

QStringList GoodLines() {
    return {"[update=analyzer]",
            "major=0",
            "minor=9",
            "revision=0",
            "changes=http://quarvel.example.org/analyzer/changes.html",
            "download=https://quarvel.example.org/analyzer/setup.zip",
            "size=1.2 MB"};
}

QStringList With(int index, const QString& line) {
    QStringList lines = GoodLines();
    lines[index] = line;
    return lines;
}

} // namespace

class UpdateInfoTest : public QObject {
    Q_OBJECT

  private slots:
    void wholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint64>("value");
        QTest::newRow("zero") << "0" << true << quint64(0);
        QTest::newRow("leading zeros") << "007" << true << quint64(7);
        QTest::newRow("beyond 16 bits") << "70000" << true << quint64(70000);
        QTest::newRow("largest") << "18446744073709551615" << true
                                 << quint64(18446744073709551615ULL);
        QTest::newRow("overflow") << "18446744073709551616" << false << quint64(0);
        QTest::newRow("empty") << "" << false << quint64(0);
        QTest::newRow("leading blank") << " 1" << false << quint64(0);
        QTest::newRow("trailing blank") << "1 " << false << quint64(0);
        QTest::newRow("minus") << "-1" << false << quint64(0);
        QTest::newRow("plus") << "+1" << false << quint64(0);
        QTest::newRow("letters") << "9a" << false << quint64(0);
        QTest::newRow("decimal point") << "1.0" << false << quint64(0);
        QTest::newRow("non-latin digit") << QString(QChar(0x0663)) << false << quint64(0);
    }
    void wholeNumber() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint64, value);
        const auto parsed = ParseWholeNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void versionArgument_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint64>("major");
        QTest::addColumn<quint64>("minor");
        QTest::addColumn<quint64>("revision");
        QTest::newRow("usual") << "0.8.2" << true << quint64(0) << quint64(8) << quint64(2);
        QTest::newRow("large parts")
            << "1.20.70000" << true << quint64(1) << quint64(20) << quint64(70000);
        QTest::newRow("one dot") << "0.8" << false << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("three dots") << "0.8.2.1" << false << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("empty") << "" << false << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("empty part") << "0..2" << false << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("letters") << "a.b.c" << false << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("trailing blank")
            << "0.8.2 " << false << quint64(0) << quint64(0) << quint64(0);
    }
    void versionArgument() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto version = ParseVersionArgument(text);
        QCOMPARE(version.has_value(), valid);
        if (!valid)
            return;
        QFETCH(quint64, major);
        QFETCH(quint64, minor);
        QFETCH(quint64, revision);
        QCOMPARE(*version, (Version{major, minor, revision}));
    }

    void parseGoodFile() {
        QString error;
        const auto info = ParseUpdateInformation(File(GoodLines()), &error);
        QVERIFY2(info.has_value(), qPrintable(error));
        QCOMPARE(info->NewVersion, (Version{0, 9, 0}));
        QCOMPARE(info->ChangesAddress,
                 QStringLiteral("http://quarvel.example.org/analyzer/changes.html"));
        QCOMPARE(info->DownloadAddress,
                 QStringLiteral("https://quarvel.example.org/analyzer/setup.zip"));
        QCOMPARE(info->UpdateSize, QStringLiteral("1.2 MB"));
    }

    void parseKeepsOnlyWhatTheFormatSays_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("download");
        QTest::addColumn<QString>("size");
        QTest::newRow("download cut at its =")
            << With(5, "download=http://quarvel.example.org/get?file=setup.zip")
            << "http://quarvel.example.org/get?file"
            << "1.2 MB";
        QTest::newRow("lines after the seventh ignored")
            << (GoodLines() << "garbage without equals"
                            << "")
            << "https://quarvel.example.org/analyzer/setup.zip"
            << "1.2 MB";
        QTest::newRow("size may be empty")
            << With(6, "size=") << "https://quarvel.example.org/analyzer/setup.zip"
            << "";
        QTest::newRow("size cut at its =")
            << With(6, "size=a=b") << "https://quarvel.example.org/analyzer/setup.zip"
            << "a";
    }
    void parseKeepsOnlyWhatTheFormatSays() {
        QFETCH(QStringList, lines);
        QFETCH(QString, download);
        QFETCH(QString, size);
        QString error;
        const auto info = ParseUpdateInformation(File(lines), &error);
        QVERIFY2(info.has_value(), qPrintable(error));
        QCOMPARE(info->DownloadAddress, download);
        QCOMPARE(info->UpdateSize, size);
    }

    void parseWrongData_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << ""
                               << "line 0 is not the marker";
        QTest::newRow("bad marker")
            << File(With(0, "[update=other]")) << "line 0 is not the marker";
        QTest::newRow("marker with trailing blank")
            << File(With(0, "[update=analyzer] ")) << "line 0 is not the marker";
        QTest::newRow("bare LF separators") << GoodLines().join('\n') << "line 0 is not the marker";
        QTest::newRow("six lines") << File(GoodLines().mid(0, 6)) << "only 6 lines";
        QTest::newRow("capitalised key")
            << File(With(1, "Major=0")) << "line 1 key is not \"major\"";
        QTest::newRow("keys swapped")
            << File(With(2, "revision=9")) << "line 2 key is not \"minor\"";
        QTest::newRow("blank before =") << File(With(6, "size =1")) << "line 6 key is not \"size\"";
        QTest::newRow("line without =") << File(With(3, "revision 0")) << "line 3 has no \"=\"";
        QTest::newRow("non-numeric version")
            << File(With(2, "minor=9a")) << "minor is not a whole number";
        QTest::newRow("empty version")
            << File(With(3, "revision=")) << "revision is not a whole number";
        QTest::newRow("negative version")
            << File(With(1, "major=-1")) << "major is not a whole number";
        QTest::newRow("ftp changes") << File(With(4, "changes=ftp://quarvel.example.org/c.txt"))
                                     << "changes is not a web address";
        QTest::newRow("script download")
            << File(With(5, "download=javascript:alert(1)")) << "download is not a web address";
        QTest::newRow("local file download")
            << File(With(5, "download=file:///etc/passwd")) << "download is not a web address";
        QTest::newRow("program download")
            << File(With(5, "download=C:\\evil.exe")) << "download is not a web address";
        QTest::newRow("first fault in file order wins")
            << File(With(6, "Size=1").replaceInStrings("minor=9", "minor=x"))
            << "minor is not a whole number";
    }
    void parseWrongData() {
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!ParseUpdateInformation(text, &error).has_value());
        QCOMPARE(error, reason);
    }

    void webAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("web");
        QTest::newRow("http") << "http://quarvel.example.org/a" << true;
        QTest::newRow("https") << "https://quarvel.example.org" << true;
        QTest::newRow("upper-case scheme") << "HTTP://quarvel.example.org/" << true;
        QTest::newRow("no host") << "http:///path" << false;
        QTest::newRow("mailto") << "mailto:analyzer@quarvel.example.org" << false;
        QTest::newRow("relative") << "analyzer/setup.zip" << false;
        QTest::newRow("empty") << "" << false;
        // A user name makes an address look like another site's; it is never opened.
        QTest::newRow("user information") << "http://quarvel.example.org@evil.example/" << false;
        QTest::newRow("user and password") << "https://a:b@quarvel.example.org/" << false;
    }
    void webAddress() {
        QFETCH(QString, address);
        QFETCH(bool, web);
        QCOMPARE(IsWebAddress(address), web);
    }

    void compare_data() {
        QTest::addColumn<Version>("installed");
        QTest::addColumn<Version>("announced");
        QTest::addColumn<bool>("newer");
        QTest::newRow("major up") << Version{0, 9, 9} << Version{1, 0, 0} << true;
        QTest::newRow("same") << Version{0, 9, 9} << Version{0, 9, 9} << false;
        QTest::newRow("minor up") << Version{0, 8, 2} << Version{0, 9, 0} << true;
        QTest::newRow("minor down") << Version{0, 9, 0} << Version{0, 8, 9} << false;
        QTest::newRow("major down, minor up") << Version{1, 0, 0} << Version{0, 99, 99} << false;
        QTest::newRow("revision up") << Version{0, 9, 1} << Version{0, 9, 2} << true;
        QTest::newRow("revision down") << Version{0, 9, 3} << Version{0, 9, 2} << false;
        QTest::newRow("numeric, not textual") << Version{0, 8, 9} << Version{0, 8, 10} << true;
    }
    void compare() {
        QFETCH(Version, installed);
        QFETCH(Version, announced);
        QFETCH(bool, newer);
        QCOMPARE(IsNewer(installed, announced), newer);
    }

    void statusLines() {
        QCOMPARE(NewerStatusLines({0, 8, 2}, {0, 9, 0}),
                 QStringList({"-----", "New update available!! ", "This version: 0.8 build 2",
                              "New version: 0.9 build 0"}));
        QCOMPARE(LatestStatusLines({0, 9, 9}),
                 QStringList({"-----", "You have the latest version! (v0.9 build 9)"}));
        QCOMPARE(VersionText({10, 0, 70000}), QStringLiteral("10.0 build 70000"));
    }
};

QTEST_APPLESS_MAIN(UpdateInfoTest)
#include "update_info_test.moc"
