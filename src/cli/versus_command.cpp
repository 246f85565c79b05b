// qla versus: parse with the command's description, read the log or the database, count the two
// players' kills on each other and print them. From a database every number comes from the
// statistics stored at import: the store for the kills, the digests' encounters for the weapons.
#include "cli/versus_command.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_source.h"
#include "core/control_chars.h"
#include "db/log_encounters.h"
#include "export/data/versus_export.h"

#include <QCommandLineParser>

#include <algorithm>

namespace qla::cli {
namespace {

struct VersusInvocation {
    LogSource source;
    std::string name, other;
    bool json = false;
};

std::optional<VersusInvocation> ParseVersus(const QStringList& arguments, std::ostream& out,
                                            std::ostream& err, int& exitCode) {
    const CommandInfo& command = *FindCommand(arguments.at(1));
    const auto refuse = [&](const std::string& message) {
        exitCode = CommandUsageError(command, message, err);
        return std::nullopt;
    };
    QCommandLineParser parser;
    VersusInvocation invocation;
    if (const auto exit =
            StartReadingCommand(parser, command, arguments, invocation.source, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    QStringList positional = parser.positionalArguments();
    const bool database = invocation.source.Database.has_value();
    if (positional.size() != (database ? 2 : 3))
        return refuse(database ? "needs NAME OTHER with --db" : "needs LOG NAME OTHER");
    if (!database)
        invocation.source.Logs = {positional.takeFirst()};
    invocation.name = positional.at(0).toStdString();
    invocation.other = positional.at(1).toStdString();
    if (invocation.name == invocation.other)
        return refuse("NAME and OTHER are the same name: a player has no encounters with himself");
    const QString format = parser.value(QStringLiteral("format")).toLower();
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return refuse("--format takes text or json, not '" +
                      parser.value(QStringLiteral("format")).toStdString() + "'");
    invocation.json = format == QLatin1String("json");
    if (const auto exit = ReadReadingOptions(parser, command, invocation.source, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    return invocation;
}

// Orders the periods by date, those without one last, each day's logs in the order filed.
void OrderByDate(std::vector<VersusPeriod>& periods) {
    std::stable_sort(periods.begin(), periods.end(),
                     [](const VersusPeriod& a, const VersusPeriod& b) {
                         if (a.Date.has_value() != b.Date.has_value())
                             return a.Date.has_value();
                         return a.Date && *a.Date < *b.Date;
                     });
}

constexpr const char* kHoldingsLoseWeapons =
    "players merged over time from a database are counted by the holdings of their names, and "
    "the stored statistics keep the weapons per name only";

// From a database: the weapons from the digests' encounters, and a period per selected log;
// false after printing why the database could not be read.
bool AnswerFromDatabase(const LogSource& source, const AnalysisStore& store,
                        const LoadedStore& loaded, const VersusTally& tally, VersusAnswer& answer,
                        std::ostream& err) {
    const auto& spans = loaded.Logs.KillEntriesEnd;
    if (spans.empty()) {
        // A database from before stored statistics is read as one log.
        answer.Periods.push_back({std::nullopt, loaded.DateText, tally.Total});
        answer.WeaponsNote = "the database keeps no statistics per log (qla upgrade --db stores "
                             "them)";
        return true;
    }
    std::string error;
    const auto database =
        db::StatsDatabase::Open(source.Database->Path, db::OpenMode::ReadOnly, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return false;
    }
    const bool overTime = source.Merging.TracksHolders();
    const auto playerOf = [&](const std::string& name) -> PlayerIndex {
        const auto found = source.Merging.Find(store, name);
        return found && (*found == answer.Player || *found == answer.Other) ? *found : 0;
    };
    const auto logs = db::ReadLogEncounters(
        *database, source.Database->Selection,
        [&](const std::string& name) { return !overTime && playerOf(name) != 0; }, error);
    if (!logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return false;
    }
    if (logs->size() != spans.size()) {
        err << "qla: the logs of " << TerminalSafeText(source.Database->Path)
            << " changed while they were read; run the command again\n";
        return false;
    }
    std::vector<WeaponKill> kills;
    for (std::size_t i = 0; i < logs->size(); ++i) {
        answer.Periods.push_back({(*logs)[i].Id, (*logs)[i].DateKey, tally.Stretches[i]});
        for (const db::NamedEncounter& e : (*logs)[i].Encounters)
            kills.push_back({playerOf(e.Killer), playerOf(e.Victim), e.WeaponText, e.Count});
    }
    OrderByDate(answer.Periods);
    if (overTime) {
        answer.WeaponsNote = kHoldingsLoseWeapons;
        return true;
    }
    // The digests file some cut obituary names otherwise than the store read in context: the
    // weapons are shown only when they add up to the kills counted.
    auto weapons = CountWeaponsVersus(kills, answer.Player, answer.Other);
    VersusCounts sum;
    for (const WeaponVersus& weapon : weapons) {
        sum.Kills += weapon.Counts.Kills;
        sum.Deaths += weapon.Counts.Deaths;
    }
    if (sum.Kills != tally.Total.Kills || sum.Deaths != tally.Total.Deaths)
        answer.WeaponsNote = "the stored weapons of these logs do not add up to the kills read "
                             "(names cut in obituaries were read again in context)";
    else
        answer.Weapons = std::move(weapons);
    return true;
}

} // namespace

int RunVersusCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto invocation = ParseVersus(arguments, out, err, exitCode);
    if (!invocation)
        return exitCode;
    LogSource& source = invocation->source;
    AnalysisStore store;
    const auto loaded = LoadSource(
        source, store, {{.Chats = false, .UnknownLines = false, .PassingNames = true}, false}, err);
    if (!loaded)
        return kExitFailed;
    VersusAnswer answer;
    for (const auto& [name, index] : {std::pair{&invocation->name, &answer.Player},
                                      std::pair{&invocation->other, &answer.Other}}) {
        const auto found = source.Merging.Find(store, *name);
        if (!found) {
            err << "qla: no player is stored as '" << TerminalSafeText(*name) << "' in "
                << TerminalSafeText(source.Name()) << StoredNamesLike(store, *name) << "\n";
            return kExitFailed;
        }
        *index = *found;
    }
    if (answer.Player == answer.Other) {
        err << "qla: '" << TerminalSafeText(invocation->name) << "' and '"
            << TerminalSafeText(invocation->other) << "' are names of one merged player\n";
        return kExitFailed;
    }
    const auto& spans = loaded->Store.Logs.KillEntriesEnd;
    const VersusTally tally = CountVersus(store, answer.Player, answer.Other, spans);
    answer.Total = tally.Total;
    if (source.Database) {
        if (!AnswerFromDatabase(source, store, loaded->Store, tally, answer, err))
            return kExitFailed;
    } else {
        // The store does not keep where a "logfile opened on" line fell among the kills: a log
        // read is one period.
        answer.Periods.push_back({std::nullopt, loaded->Store.DateText, tally.Total});
        answer.Weapons = CountWeaponsVersus(WeaponKillsOf(store), answer.Player, answer.Other);
    }
    // The fit the ratings command makes over the same logs and merging.
    answer.Chance = ChanceOf(FitSkill(EncountersOf(store)), answer.Player, answer.Other);
    out << (invocation->json ? VersusJson(store, answer) : VersusText(store, answer));
    return kExitOk;
}

} // namespace qla::cli
