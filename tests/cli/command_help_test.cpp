// qla's help: the overview, `qla help COMMAND` and `qla COMMAND --help` written from the command
// descriptions, parsers that take exactly the described options, and the man page and the bash
// completion checked against the same descriptions.
#include "cli/command_table.h"
#include "cli/qla_app.h"

#include "qla_run.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace qla::cli {
namespace {

using CliRun = QlaRun;
constexpr auto RunWith = &Qla;

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(QLA_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The words of `text` that `pattern`'s first group captures.
std::set<std::string> Captured(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[1].str());
    return found;
}

// Every long option of the descriptions, global ones included.
std::set<std::string> DescribedOptions() {
    std::set<std::string> names;
    for (const OptionInfo& option : GlobalOptions())
        names.insert(option.Name);
    names.insert(HelpOption().Name);
    for (const CommandInfo& command : Commands())
        for (const OptionInfo& option : command.Options)
            names.insert(option.Name);
    return names;
}

// What bash offers for `words` (the last one being completed) with the completion loaded, one
// word a line; nullopt when bash cannot be run.
std::optional<std::set<std::string>> Complete(const QStringList& words) {
    QString script = QStringLiteral("source \"$0\"; COMP_WORDS=(");
    for (const QString& word : words)
        script += QLatin1Char('\'') + word + QStringLiteral("' ");
    script += QStringLiteral(");COMP_CWORD=%1; _qla; printf '%s\\n' \"${COMPREPLY[@]}\"")
                  .arg(words.size() - 1);
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {QStringLiteral("-c"), script,
                QString::fromStdString(std::string(QLA_SOURCE_DIR) + "/packaging/completion/qla")});
    if (!bash.waitForFinished(10000) || bash.exitCode() != 0)
        return std::nullopt;
    std::set<std::string> offered;
    for (const QString& line : QString::fromUtf8(bash.readAllStandardOutput()).split('\n'))
        if (!line.isEmpty())
            offered.insert(line.toStdString());
    return offered;
}

bool HasWord(const std::string& text, const std::string& word) {
    return std::regex_search(text, std::regex("(^|[^A-Za-z0-9-])" + word + "($|[^A-Za-z0-9-])"));
}

TEST(CommandHelpTest, EveryCommandHasItsHelpInEverySpelling) {
    for (const CommandInfo& command : Commands()) {
        const QString name = QString::fromStdString(command.Name);
        const CliRun help = RunWith({"help", name});
        EXPECT_EQ(help.status, 0) << command.Name;
        EXPECT_TRUE(help.err.empty()) << command.Name;
        EXPECT_EQ(help.out.rfind("Usage: qla " + command.Name + " " + command.Synopsis + "\n", 0),
                  0u)
            << help.out;
        for (const OptionInfo& option : command.Options)
            EXPECT_NE(help.out.find("--" + option.Name), std::string::npos)
                << command.Name << " --" << option.Name;
        EXPECT_NE(help.out.find("-h, --help"), std::string::npos);
        for (const char* spelling : {"--help", "-h"}) {
            const CliRun asOption = RunWith({name, spelling});
            EXPECT_EQ(asOption.status, 0) << command.Name << ' ' << spelling;
            EXPECT_EQ(asOption.out, help.out) << command.Name << ' ' << spelling;
        }
    }
}

TEST(CommandHelpTest, OverviewNamesEveryCommandAndGlobalOption) {
    const CliRun overview = RunWith({"--help"});
    EXPECT_EQ(overview.status, 0);
    for (const CommandInfo& command : Commands()) {
        EXPECT_NE(overview.out.find("  " + command.Name + " " + command.Synopsis),
                  std::string::npos)
            << command.Name;
        EXPECT_NE(overview.out.find(command.Summary), std::string::npos) << command.Name;
    }
    EXPECT_NE(overview.out.find("-V, --version"), std::string::npos);
    EXPECT_EQ(RunWith({"-h"}).out, overview.out);
    EXPECT_EQ(RunWith({"help"}).out, overview.out);
}

// A usage error says what is wrong, how the command is called and where its help is: three lines
// (more only where the usage line wraps), never the whole help.
TEST(CommandHelpTest, AUsageErrorIsShortAndPointsToTheHelp) {
    const CliRun run = RunWith({"export", "x.log", "--view", "standard"});
    EXPECT_EQ(run.status, 2);
    const CommandInfo& export_ = *FindCommand(QStringLiteral("export"));
    EXPECT_EQ(run.err, "qla export: --format is required\n" +
                           Wrap("Usage: qla export " + export_.Synopsis, 4, 0) +
                           "\nSee 'qla help export' for every option.\n");
    const CliRun unknown = RunWith({"analyze", "x.log", "--frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 3) << unknown.err;
    EXPECT_NE(unknown.err.find("See 'qla help analyze'"), std::string::npos);
}

TEST(CommandHelpTest, HelpWithoutAKnownCommandIsAUsageError) {
    for (const QStringList& arguments :
         {QStringList{"help", "frobnicate"}, QStringList{"help", "info", "analyze"},
          QStringList{"--version", "info"}, QStringList{"--help", "extra"}}) {
        const CliRun run = RunWith(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("Usage: qla COMMAND"), std::string::npos);
    }
}

TEST(CommandHelpTest, ParsersTakeExactlyTheDescribedOptions) {
    // Every described option parses (help is reached after it); anything else is refused.
    for (const CommandInfo& command : Commands()) {
        const QString name = QString::fromStdString(command.Name);
        for (const OptionInfo& option : command.Options) {
            QStringList arguments{name, QString::fromStdString("--" + option.Name)};
            if (!option.ValueName.empty())
                arguments << QString::fromStdString(option.Values.empty() ? std::string("x")
                                                                          : option.Values.front());
            arguments << QStringLiteral("--help");
            const CliRun run = RunWith(arguments);
            EXPECT_EQ(run.status, 0) << arguments.join(' ').toStdString() << "\n" << run.err;
        }
        const CliRun unknown = RunWith({name, QStringLiteral("x.log"), QStringLiteral("--colour")});
        EXPECT_EQ(unknown.status, 2) << command.Name;
        EXPECT_EQ(unknown.err.rfind("qla " + command.Name + ": ", 0), 0u) << unknown.err;
    }
}

TEST(CommandHelpTest, ManPageDescribesEveryCommandOptionAndValue) {
    const std::string page = ReadSource("packaging/man/qla.1.in");
    ASSERT_FALSE(page.empty());
    // roff writes a dash of an option as "\-".
    const auto roff = [](std::string text) {
        return std::regex_replace(text, std::regex("-"), "\\-");
    };
    const std::string withoutFonts = std::regex_replace(page, std::regex(R"(\\f[BIRP])"), "");
    for (const CommandInfo& command : Commands()) {
        EXPECT_NE(page.find(".B qla " + command.Name + "\n"), std::string::npos) << command.Name;
        for (const OptionInfo& option : command.Options) {
            EXPECT_NE(page.find(roff("--" + option.Name)), std::string::npos)
                << command.Name << " --" << option.Name;
            for (const std::string& value : option.Values)
                EXPECT_TRUE(HasWord(withoutFonts, value)) << "--" << option.Name << ' ' << value;
        }
    }
    for (const OptionInfo& option : GlobalOptions()) {
        EXPECT_NE(page.find(roff("--" + option.Name)), std::string::npos) << option.Name;
        EXPECT_NE(page.find(roff("-" + option.ShortName) + " \", \""), std::string::npos)
            << option.ShortName;
    }
    // And nothing the descriptions no longer have.
    std::set<std::string> inPage = Captured(page, R"(\\-\\-([a-z]+(?:\\-[a-z]+)*))");
    std::set<std::string> stale;
    for (std::string name : inPage) {
        name = std::regex_replace(name, std::regex(R"(\\-)"), "-");
        if (!DescribedOptions().count(name))
            stale.insert(name);
    }
    EXPECT_TRUE(stale.empty()) << "the man page names --" << *stale.begin();
}

TEST(CommandHelpTest, CompletionOffersEveryCommandOptionAndValue) {
    const std::string completion = ReadSource("packaging/completion/qla");
    ASSERT_FALSE(completion.empty());
    for (const CommandInfo& command : Commands()) {
        EXPECT_TRUE(HasWord(completion, command.Name)) << command.Name;
        for (const OptionInfo& option : command.Options) {
            EXPECT_TRUE(HasWord(completion, "--" + option.Name)) << "--" << option.Name;
            for (const std::string& value : option.Values)
                EXPECT_TRUE(HasWord(completion, value)) << "--" << option.Name << ' ' << value;
        }
    }
    for (const OptionInfo& option : GlobalOptions()) {
        EXPECT_TRUE(HasWord(completion, "--" + option.Name)) << option.Name;
        EXPECT_TRUE(HasWord(completion, "-" + option.ShortName)) << option.ShortName;
    }
    for (const std::string& name : Captured(completion, R"(--([a-z]+(?:-[a-z]+)*))"))
        EXPECT_TRUE(DescribedOptions().count(name)) << "the completion offers --" << name;
}

TEST(CommandHelpTest, CompletionOffersEachCommandItsOwnOptionsAndValues) {
    // bash itself runs the completion: each command is offered exactly its described options.
    for (const CommandInfo& command : Commands()) {
        const QString name = QString::fromStdString(command.Name);
        const auto offered = Complete({"qla", name, "--"});
        ASSERT_TRUE(offered) << "bash could not run the completion";
        std::set<std::string> described{"--" + HelpOption().Name};
        for (const OptionInfo& option : command.Options) {
            described.insert("--" + option.Name);
            if (option.Values.empty())
                continue;
            const auto values =
                Complete({"qla", name, QString::fromStdString("--" + option.Name), QString()});
            ASSERT_TRUE(values);
            EXPECT_EQ(*values, std::set<std::string>(option.Values.begin(), option.Values.end()))
                << command.Name << " --" << option.Name;
        }
        EXPECT_EQ(*offered, described) << command.Name;
    }
    std::set<std::string> commands{"help", "--help", "--version", "-h", "-V"};
    for (const CommandInfo& command : Commands())
        commands.insert(command.Name);
    EXPECT_EQ(Complete({"qla", ""}), commands);
    EXPECT_EQ(Complete({"qla", "alias", "--aliases", "names.txt", "s"}),
              (std::set<std::string>{"split", "suggest"}));
}

} // namespace
} // namespace qla::cli
