// The German translation file: every text the windows can show is translated, completely and
// with the same placeholders, line breaks and edge blanks as the English; and the file is up to
// date with the sources (lupdate finds nothing new and nothing gone).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString Context;
    QString Source;
    QString Translation;
    QString Type; // "unfinished", "vanished", "obsolete" or empty for a finished one
};

// The text of <source> or <translation>, with <byte value="xd"/> turned back into its byte.
QString ElementText(QXmlStreamReader& xml) {
    const QString element = xml.name().toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte"))
            text +=
                QChar(xml.attributes().value(QLatin1String("value")).mid(1).toUInt(nullptr, 16));
        else if (xml.isEndElement() && xml.name() == element)
            break;
    }
    return text;
}

QList<Message> ReadTs(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": cannot be read");
        return {};
    }
    QXmlStreamReader xml(&file);
    QList<Message> messages;
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({context, {}, {}, {}});
        } else if (xml.name() == QLatin1String("source")) {
            messages.last().Source = ElementText(xml);
        } else if (xml.name() == QLatin1String("translation")) {
            messages.last().Type = xml.attributes().value(QLatin1String("type")).toString();
            messages.last().Translation = ElementText(xml);
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

QString Describe(const Message& message) {
    return message.Context + QStringLiteral(" / \"") + message.Source + QLatin1Char('"');
}

QStringList SortedPlaceholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (const auto& match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

QString LeadingBlanks(const QString& text) {
    return text.left(text.size() - QString(text).remove(QRegularExpression("^\\s+")).size());
}

QString TrailingBlanks(const QString& text) {
    return text.right(text.size() - QString(text).remove(QRegularExpression("\\s+$")).size());
}

} // namespace

class TranslationFileTest : public QObject {
    Q_OBJECT

  private slots:
    void everyTextIsTranslatedWhole() {
        QString error;
        const QList<Message> messages = ReadTs(QStringLiteral(QLA_TS_FILE), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 20);
        QStringList faults;
        for (const Message& message : messages) {
            if (!message.Type.isEmpty())
                faults << message.Type + QStringLiteral(": ") + Describe(message);
            else if (message.Translation.trimmed().isEmpty())
                faults << QStringLiteral("empty: ") + Describe(message);
            else if (SortedPlaceholders(message.Source) != SortedPlaceholders(message.Translation))
                faults << QStringLiteral("placeholders differ: ") + Describe(message);
            else if (message.Source.count(QLatin1Char('\r')) !=
                         message.Translation.count(QLatin1Char('\r')) ||
                     message.Source.count(QLatin1Char('\n')) !=
                         message.Translation.count(QLatin1Char('\n')))
                faults << QStringLiteral("line breaks differ: ") + Describe(message);
            else if (LeadingBlanks(message.Source) != LeadingBlanks(message.Translation) ||
                     TrailingBlanks(message.Source) != TrailingBlanks(message.Translation))
                faults << QStringLiteral("edge blanks differ: ") + Describe(message);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void fileIsUpToDateWithTheSources() {
        // lupdate over a copy: a text added to the sources arrives unfinished, a text gone from
        // them is marked vanished; neither may happen.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(QStringLiteral("copy_de.ts"));
        QVERIFY(QFile::copy(QStringLiteral(QLA_TS_FILE), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(QLA_SOURCE_DIR));
        QStringList arguments{QStringLiteral("-I"), QStringLiteral("src")};
        arguments += QString::fromUtf8(QLA_TRANSLATED_SOURCES).split(QLatin1Char('|'));
        arguments << QStringLiteral("-silent") << QStringLiteral("-locations")
                  << QStringLiteral("none") << QStringLiteral("-ts") << copy;
        lupdate.start(QStringLiteral(QLA_LUPDATE), arguments);
        QVERIFY(lupdate.waitForFinished(60000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

        QString error;
        const QList<Message> messages = ReadTs(copy, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QStringList stale;
        for (const Message& message : messages)
            if (!message.Type.isEmpty())
                stale << message.Type + QStringLiteral(": ") + Describe(message);
        QVERIFY2(stale.isEmpty(),
                 qPrintable(QStringLiteral("run the target update_translations and translate:\n") +
                            stale.join(QLatin1Char('\n'))));
    }
};

QTEST_APPLESS_MAIN(TranslationFileTest)
#include "translation_file_test.moc"
