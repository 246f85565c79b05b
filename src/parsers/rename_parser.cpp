// Splitting rename lines. The names get the care of the chat parsers' names: surrounding spaces
// and trailing colour codes go (the game writes "^7" after the old name), inner codes stay.
#include "parsers/rename_parser.h"

#include "core/byte_search.h"
#include "core/names.h"
#include "parsers/classifier.h"

namespace qla {

std::optional<RenameNames> SplitRenameLine(std::string_view line, std::string_view phrase) {
    if (phrase.empty())
        return std::nullopt;
    if (StartsWithBytes(line, kSkipNotify))
        line.remove_prefix(kSkipNotify.size());
    const std::size_t at = FindBytes(line, phrase);
    if (at == std::string_view::npos)
        return std::nullopt;
    // A second phrase leaves no telling which one the game wrote between the names.
    if (FindBytes(line.substr(at + 1), phrase) != std::string_view::npos)
        return std::nullopt;
    const std::string_view oldName = NormalizeName(line.substr(0, at));
    const std::string_view newName = NormalizeName(line.substr(at + phrase.size()));
    if (oldName.empty() || newName.empty())
        return std::nullopt;
    return RenameNames{oldName, newName};
}

void ParseRenameLine(AnalysisStore& store, std::string_view line, std::string_view phrase) {
    if (const auto names = SplitRenameLine(line, phrase))
        store.RecordRename(names->OldName, names->NewName);
}

} // namespace qla
