// `qla export`: reads the command line as the Export page's controls, loads and analyses the log,
// and calls the one writer the page and format select (or the whole site).
#include "cli/export_command.h"

#include "cli/cli_common.h"
#include "core/product.h"
#include "export/export_all.h"
#include "export/html_export.h"
#include "export/text_export.h"
#include "export/xml_export.h"

#include <QCommandLineParser>

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

namespace qla {
namespace {

constexpr const char* kExportUsage =
    "Usage: qla export LOG --view VIEW --format FORMAT --output PATH [options]\n"
    "\n"
    "VIEW    standard, player, weapons, voice, text, junk or all\n"
    "FORMAT  html, text or xml (xml with view standard only, view all with html only)\n"
    "PATH    the file to write (replaced when it exists); for view all the output folder\n"
    "\n"
    "Options:\n"
    "  --language english|german  language of the log (default english)\n"
    "  --title TEXT               game title of the pages\n"
    "  --checks LIST              checked boxes of the page, e.g. 0,2,3, or none (default all):\n"
    "                             standard 0-4, player 0-5, weapons 0-4, voice and text 0-4\n"
    "  --order K                  \"Order by\" option: standard 0-5, player 0-2, weapons 0-5\n"
    "  --descending               read the table from its end\n"
    "  --player NAME              the player of view player, exactly as stored (required)\n"
    "  --separator S              text only: column separator (default \",\")\n"
    "  --no-header                text only: clear \"Include column Name\"\n"
    "  --remove-colors            text only: check \"Remove colors from names\"\n"
    "  --if-exists overwrite|skip view all only: what to do with existing pages\n";

constexpr std::string_view kDefaultTitle = kPlaceholderGameTitle;

enum class View { Standard, Player, Weapons, Voice, Text, Junk, All };

struct ViewInfo {
    const char* Name;
    View Kind;
    int Checks;       // number of check boxes on the page
    int Orders;       // number of "Order by" options; 0 when the page has none
    int DefaultOrder; // the option selected at start-up
};

constexpr std::array<ViewInfo, 7> kViews{{
    {"standard", View::Standard, 5, 6, 5},
    {"player", View::Player, 6, 3, 2},
    {"weapons", View::Weapons, 5, 6, 5},
    {"voice", View::Voice, 5, 0, 0},
    {"text", View::Text, 5, 0, 0},
    {"junk", View::Junk, 0, 0, 0},
    {"all", View::All, 0, 0, 0},
}};

// The controls of the Export page as the command line sets them.
struct ExportRequest {
    QString Log;
    const ViewInfo* Page = nullptr;
    QString Format;
    std::string Output;
    LogLanguage Language = LogLanguage::English;
    std::string Title{kDefaultTitle};
    std::vector<bool> Checks;
    int Order = 0;
    bool Ascending = true;
    std::string Player;
    TextExportOptions Text;
    IfFileExists IfExists = IfFileExists::Overwrite;
};

int UsageError(std::ostream& err, const std::string& message) {
    err << "qla export: " << message << "\n\n" << kExportUsage;
    return cli::kExitUsage;
}

std::string Std(const QString& text) {
    return text.toStdString();
}

template <std::size_t N> std::array<bool, N> FlagsOf(const std::vector<bool>& checks) {
    std::array<bool, N> flags{};
    for (std::size_t i = 0; i < N && i < checks.size(); ++i)
        flags[i] = checks[i];
    return flags;
}

// "none" or comma-separated box indexes below `count`; nullopt for anything else.
std::optional<std::vector<bool>> ParseChecks(const QString& list, int count) {
    std::vector<bool> checks(static_cast<std::size_t>(count), false);
    if (list == QLatin1String("none"))
        return checks;
    for (const QString& item : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int index = item.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= count)
            return std::nullopt;
        checks[static_cast<std::size_t>(index)] = true;
    }
    return checks;
}

// Fills `request` from the command line; returns an exit code when it must end here.
std::optional<int> ParseRequest(const QStringList& arguments, ExportRequest& request,
                                std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto value = [](const char* name) {
        return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    };
    const auto flag = [](const char* name) {
        return QCommandLineOption(QString::fromLatin1(name));
    };
    parser.addOptions({value("view"), value("format"), value("output"), cli::LanguageOption(),
                       value("title"), value("checks"), value("order"), flag("descending"),
                       value("player"), value("separator"), flag("no-header"),
                       flag("remove-colors"), value("if-exists"), flag("help")});
    QStringList forParser{arguments.value(0)};
    forParser += arguments.mid(2);
    if (!parser.parse(forParser))
        return UsageError(err, Std(parser.errorText()));
    if (parser.isSet(QStringLiteral("help"))) {
        out << kExportUsage;
        return cli::kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return UsageError(err, "expected exactly one LOG");
    request.Log = positional.at(0);
    for (const char* required : {"view", "format", "output"})
        if (!parser.isSet(QString::fromLatin1(required)))
            return UsageError(err, std::string("--") + required + " is required");

    const QString view = parser.value(QStringLiteral("view"));
    for (const ViewInfo& info : kViews)
        if (view == QLatin1String(info.Name))
            request.Page = &info;
    if (request.Page == nullptr)
        return UsageError(err, "unknown view '" + Std(view) + "'");
    request.Format = parser.value(QStringLiteral("format"));
    const bool html = request.Format == QLatin1String("html");
    const bool text = request.Format == QLatin1String("text");
    const bool xml = request.Format == QLatin1String("xml");
    if (!html && !text && !xml)
        return UsageError(err, "unknown format '" + Std(request.Format) + "'");
    const View kind = request.Page->Kind;
    if (xml && kind != View::Standard)
        return UsageError(err, "format xml needs view standard");
    if (kind == View::All && !html)
        return UsageError(err, "view all needs format html");
    request.Output = cli::LocalPath(parser.value(QStringLiteral("output")));

    // Each option stands for a control; a control the page or format lacks is a usage error.
    const auto refuse = [&](const char* option, bool belongs) -> std::optional<int> {
        if (!belongs && parser.isSet(QString::fromLatin1(option)))
            return UsageError(err, std::string("--") + option + " does not apply to view " +
                                       request.Page->Name + " with format " + Std(request.Format));
        return std::nullopt;
    };
    const bool hasOrder = request.Page->Orders > 0;
    for (const auto& [option, belongs] :
         std::initializer_list<std::pair<const char*, bool>>{{"checks", request.Page->Checks > 0},
                                                             {"order", hasOrder},
                                                             {"descending", hasOrder},
                                                             {"player", kind == View::Player},
                                                             {"separator", text},
                                                             {"no-header", text},
                                                             {"remove-colors", text},
                                                             {"if-exists", kind == View::All}})
        if (auto exit = refuse(option, belongs))
            return exit;

    const auto language = cli::ParseLanguage(parser.value(QStringLiteral("language")), err);
    if (!language)
        return cli::kExitUsage;
    request.Language = *language;
    if (parser.isSet(QStringLiteral("title")))
        request.Title = Std(parser.value(QStringLiteral("title")));

    request.Checks.assign(static_cast<std::size_t>(request.Page->Checks), true);
    if (parser.isSet(QStringLiteral("checks"))) {
        auto checks = ParseChecks(parser.value(QStringLiteral("checks")), request.Page->Checks);
        if (!checks)
            return UsageError(err, "--checks takes indexes 0 to " +
                                       std::to_string(request.Page->Checks - 1) + " or none");
        request.Checks = *checks;
    }
    request.Order = request.Page->DefaultOrder;
    if (parser.isSet(QStringLiteral("order"))) {
        bool ok = false;
        request.Order = parser.value(QStringLiteral("order")).toInt(&ok);
        if (!ok || request.Order < 0 || request.Order >= request.Page->Orders)
            return UsageError(err,
                              "--order takes 0 to " + std::to_string(request.Page->Orders - 1));
    }
    request.Ascending = !parser.isSet(QStringLiteral("descending"));
    if (kind == View::Player) {
        if (!parser.isSet(QStringLiteral("player")))
            return UsageError(err, "view player needs --player");
        request.Player = Std(parser.value(QStringLiteral("player")));
    }
    if (parser.isSet(QStringLiteral("separator")))
        request.Text.Separator = Std(parser.value(QStringLiteral("separator")));
    request.Text.IncludeHeader = !parser.isSet(QStringLiteral("no-header"));
    request.Text.RemoveColors = parser.isSet(QStringLiteral("remove-colors"));
    if (parser.isSet(QStringLiteral("if-exists"))) {
        const QString choice = parser.value(QStringLiteral("if-exists"));
        if (choice == QLatin1String("skip"))
            request.IfExists = IfFileExists::Skip;
        else if (choice != QLatin1String("overwrite"))
            return UsageError(err, "--if-exists takes overwrite or skip");
    }
    return std::nullopt;
}

int RunSite(const AnalysisStore& store, const ExportRequest& request, std::ostream& err) {
    // Unlike the window, whose folder comes from a picker, the command line makes the folder.
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(request.Output), made);
    if (made) {
        err << "qla export: cannot create the output folder " << request.Output << ": "
            << made.message() << "\n";
        return cli::kExitFailed;
    }
    ExportAllSettings settings;
    settings.GameTitle = request.Title;
    settings.IfExists = request.IfExists;
    const ExportAllResult result = ExportAllData(store, request.Output, settings);
    if (!result.Refused.empty()) {
        err << "qla export: " << request.Output << ": " << result.Refused << "\n";
        return cli::kExitFailed;
    }
    for (const ExportAllPageError& page : result.Errors)
        err << "qla export: " << page.FileName << ": " << page.Error << "\n";
    return result.Ok() ? cli::kExitOk : cli::kExitFailed;
}

ExportResult RunOne(const AnalysisStore& store, const ExportRequest& request, PlayerIndex player,
                    const std::string& logDate) {
    const std::string& path = request.Output;
    const auto& c = request.Checks;
    const int key = request.Order;
    const bool asc = request.Ascending;
    const std::string& title = request.Title;
    const TextExportOptions& options = request.Text;
    const bool html = request.Format == QLatin1String("html");
    switch (request.Page->Kind) {
    case View::Standard:
        if (request.Format == QLatin1String("xml"))
            return WriteXml(store, path, key, asc, ".");
        return html ? WriteStandardHtml(store, path, FlagsOf<5>(c), key, asc, false, title, ".")
                    : WriteStandardText(store, path, FlagsOf<5>(c), key, asc, options, ".");
    case View::Player:
        return html ? WritePlayerDetailsHtml(store, path, FlagsOf<6>(c), key, asc, player, false,
                                             title)
                    : WritePlayerDetailsText(store, path, FlagsOf<6>(c), key, asc, player, options);
    case View::Weapons:
        return html ? WriteWeaponHtml(store, path, FlagsOf<5>(c), key, asc, false, title)
                    : WriteWeaponText(store, path, FlagsOf<5>(c), key, asc, options);
    case View::Voice:
        return html ? WriteVoiceChatHtml(store, path, FlagsOf<5>(c), title)
                    : WriteVoiceChatText(store, path, FlagsOf<5>(c), options);
    case View::Text:
        return html ? WriteTextChatHtml(store, path, FlagsOf<5>(c), title)
                    : WriteTextChatText(store, path, FlagsOf<5>(c), options);
    case View::Junk:
        return html ? WriteJunkHtml(store, path, title, logDate) : WriteJunkText(store, path);
    case View::All:
        break;
    }
    return {};
}

} // namespace

int RunExportCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    ExportRequest request;
    if (const auto exit = ParseRequest(arguments, request, out, err))
        return *exit;

    AnalysisStore store;
    const OpenLogResult opened = OpenLogFile(store, cli::LocalPath(request.Log));
    if (!opened.Opened) {
        err << "qla: " << opened.Error << "\n";
        return cli::kExitFailed;
    }
    AnalyzeLog(store, request.Language);

    if (request.Page->Kind == View::All)
        return RunSite(store, request, err);

    PlayerIndex player = 0;
    if (request.Page->Kind == View::Player) {
        const auto found = store.FindPlayer(request.Player);
        if (!found) {
            err << "qla export: no player is stored as '" << request.Player << "'\n";
            return cli::kExitFailed;
        }
        player = *found;
    }
    const ExportResult result = RunOne(store, request, player, opened.DateText.value_or(""));
    if (!result.Ok()) {
        err << "qla export: " << request.Output << ": " << result.Error << "\n";
        return cli::kExitFailed;
    }
    return cli::kExitOk;
}

} // namespace qla
