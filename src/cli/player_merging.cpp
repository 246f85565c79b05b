#include "cli/player_merging.h"

#include "analysis/alias_file.h"
#include "analysis/hidden_players.h"
#include "cli/database_source.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "front/streamed_lines.h"

namespace qla::cli {

std::string StoredNamesLike(const AnalysisStore& store, const std::string& name) {
    constexpr std::size_t kListed = 5;
    const std::string key = IdentityKey(name);
    std::vector<std::string> like;
    for (const PlayerIndex p : store.PlayerIndexes()) // never the hidden player's
        if (const PlayerRecord& player = store.Players[static_cast<std::size_t>(p)];
            player.Name != name && IdentityKey(player.Name) == key && like.size() < kListed)
            like.push_back("'" + TerminalSafeText(player.Name) + "'");
    if (like.empty())
        return {};
    std::string text = " (stored names like it: ";
    for (std::size_t i = 0; i < like.size(); ++i)
        text += (i > 0 ? ", " : "") + like[i];
    return text + ")";
}

bool PlayerMerging::ReadsChains() const {
    return TracksHolders() && !Aliases.HasSplit();
}

void PlayerMerging::Apply(AnalysisStore& store) {
    if (Merge)
        Names = MergePlayers(store, Aliases);
}

std::optional<PlayerIndex> PlayerMerging::Find(const AnalysisStore& store,
                                               const std::string& name) const {
    const auto found = Names ? Names->Find(name) : store.FindPlayer(name);
    if (found && *found == store.HiddenPlayer())
        return std::nullopt; // a hidden name answers as an unknown one
    return found;
}

void PlayerMerging::Hide(AnalysisStore& store, std::vector<std::string> hiddenKeys) {
    HidePlayers(store, hiddenKeys, Names ? &*Names : nullptr);
    hiddenKeys_ = {hiddenKeys.begin(), hiddenKeys.end()};
}

PlayerIndex PlayerMerging::FiledUnder(const AnalysisStore& store, const std::string& name) const {
    return front::FiledUnder(store, Names ? &*Names : nullptr, hiddenKeys_, name);
}

std::optional<PlayerMerging> ReadPlayerMerging(const QCommandLineParser& parser, std::ostream& err,
                                               int& exitCode) {
    PlayerMerging merging;
    merging.Merge = parser.isSet(QStringLiteral("merge-players"));
    if (parser.isSet(QString::fromStdString(std::string(kMergeRuleOption)))) {
        const QString rule = parser.value(QString::fromStdString(std::string(kMergeRuleOption)));
        if (rule.compare(QStringLiteral("names"), Qt::CaseInsensitive) != 0) {
            err << "qla: --merge-players takes no value, or =names (identity keys only), not '"
                << TerminalSafeText(rule.toStdString()) << "'\n";
            exitCode = kExitUsage;
            return std::nullopt;
        }
        merging.ByNamesOnly = true;
    }
    // Given on the command line (optionNames lists those), without asking a parser that lacks it.
    const bool database = parser.optionNames().contains(QStringLiteral("db"));
    if (!parser.isSet(QStringLiteral("aliases"))) {
        if (merging.Merge && database) {
            auto aliases = ReadDatabaseAliases(LocalPath(parser.value(QStringLiteral("db"))), err);
            if (!aliases) {
                exitCode = kExitFailed;
                return std::nullopt;
            }
            merging.Aliases = std::move(*aliases);
        }
        return merging;
    }
    if (!merging.Merge || database) {
        err << (database ? "qla: --aliases is for logs; a database keeps its own aliases (qla "
                           "alias ... --db DB)\n"
                         : "qla: --aliases needs --merge-players\n");
        exitCode = kExitUsage;
        return std::nullopt;
    }
    const AliasFileResult read =
        ReadAliasFile(LocalPath(parser.value(QStringLiteral("aliases"))), false);
    if (!read.Ok()) {
        err << "qla: " << read.Error << "\n";
        exitCode = kExitFailed;
        return std::nullopt;
    }
    merging.Aliases = read.Aliases;
    return merging;
}

} // namespace qla::cli
