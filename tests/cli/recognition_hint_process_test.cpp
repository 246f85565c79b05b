// The recognition hint as the qla program prints it: one line on standard error after a single
// log read in classic recognition, none when --quiet, --recognition or --db is given, and the
// standard output the same either way.
#include "analysis/recognition_hint.h"
#include "cli/recognition_hint_note.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <string>

namespace qla::cli {
namespace {

struct Printed {
    int status = -1;
    std::string out, err;
};

Printed RunQlaProgram(const QStringList& arguments) {
    QProcess qla;
    qla.start(QStringLiteral(QLA_BINARY), arguments);
    if (!qla.waitForFinished(60000))
        return {};
    return {qla.exitCode(), qla.readAllStandardOutput().toStdString(),
            qla.readAllStandardError().toStdString()};
}

const QString kSample = QStringLiteral(QLA_SOURCE_DIR "/samples/english-sample.log");

int CountLines(const std::string& text, const std::string& containing) {
    int count = 0;
    std::size_t from = 0;
    while ((from = text.find(containing, from)) != std::string::npos) {
        ++count;
        from += containing.size();
    }
    return count;
}

TEST(RecognitionHintProcess, SingleLogCommandsPrintTheHintOnce) {
    const std::string hint = "qla: 10 of 3000 lines checked read otherwise in full recognition "
                             "(--recognition full), such as: [skipnotify]Kid316^7 was blasted by "
                             "^.Bones^7's mortar\n";
    const QString output = QDir::temp().filePath(QStringLiteral("qla-hint-export.txt"));
    for (const QStringList& command :
         {QStringList{QStringLiteral("analyze"), kSample},
          QStringList{QStringLiteral("players"), kSample},
          QStringList{QStringLiteral("player"), kSample, QStringLiteral("Kid316")},
          QStringList{QStringLiteral("export"), kSample, QStringLiteral("--view"),
                      QStringLiteral("standard"), QStringLiteral("--format"),
                      QStringLiteral("text"), QStringLiteral("--output"), output}}) {
        SCOPED_TRACE(command.join(' ').toStdString());
        const Printed printed = RunQlaProgram(command);
        EXPECT_EQ(printed.status, 0);
        EXPECT_EQ(printed.err, hint);
        // --quiet and an explicit recognition print nothing, and the outputs do not change.
        const Printed quiet = RunQlaProgram(command + QStringList{QStringLiteral("--quiet")});
        EXPECT_EQ(quiet.status, 0);
        EXPECT_EQ(quiet.err, "");
        EXPECT_EQ(quiet.out, printed.out);
        const Printed classic = RunQlaProgram(
            command + QStringList{QStringLiteral("--recognition"), QStringLiteral("classic")});
        EXPECT_EQ(classic.err, "");
        EXPECT_EQ(classic.out, printed.out);
    }
    QFile::remove(output);
}

TEST(RecognitionHintProcess, AutoLanguageHintsInTheLanguageChosen) {
    const Printed printed = RunQlaProgram(
        {QStringLiteral("analyze"), QStringLiteral(QLA_SOURCE_DIR "/samples/german-sample.log"),
         QStringLiteral("--language"), QStringLiteral("auto")});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(CountLines(printed.err, "read as german"), 1);
    EXPECT_EQ(CountLines(printed.err, "qla: 6 of 3000 lines checked read otherwise"), 1);
    // Read as English, the German game messages that classic takes for chat are what differs.
    const Printed english = RunQlaProgram(
        {QStringLiteral("analyze"), QStringLiteral(QLA_SOURCE_DIR "/samples/german-sample.log")});
    EXPECT_EQ(english.err, "qla: 60 of 3000 lines checked read otherwise in full recognition "
                           "(--recognition full), such as: [skipnotify]Pilot: Ziel erfasst, "
                           "Feuer!\n");
}

TEST(RecognitionHintProcess, FullRecognitionAndFailuresPrintNoHint) {
    const Printed full = RunQlaProgram({QStringLiteral("analyze"), kSample,
                                        QStringLiteral("--recognition"), QStringLiteral("full")});
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.err, "");
    const Printed missing =
        RunQlaProgram({QStringLiteral("analyze"), QStringLiteral("/nonexistent/qla-hint.log")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(CountLines(missing.err, "\n"), 1);
    EXPECT_EQ(CountLines(missing.err, "read otherwise"), 0);
}

TEST(RecognitionHintProcess, TerminalLineIsMadeSafe) {
    RecognitionHint hint;
    hint.LinesChecked = 5;
    hint.LinesReadOtherwise = 2;
    hint.Example = "[skipnotify]Bob\x1b[31m^7 was crushed.";
    const std::string line = RecognitionHintLine(hint);
    EXPECT_EQ(line.find('\x1b'), std::string::npos);
    EXPECT_EQ(CountLines(line, "\n"), 1);
    EXPECT_EQ(line.rfind("qla: 2 of 5 lines checked read otherwise", 0), 0u);
}

} // namespace
} // namespace qla::cli
