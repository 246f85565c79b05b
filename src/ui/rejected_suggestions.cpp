// The rejected alias suggestions, kept in the window's settings.
#include "ui/rejected_suggestions.h"

#include "core/names.h"
#include "ui/window_memory.h"

#include <utility>

namespace qla::ui {

namespace {

// The pair as normalised names in a fixed order, so "b, a" is kept as "a, b" and a name is
// found whatever blanks or form it was suggested under.
QString PairKey(const AliasSuggestion& suggestion) {
    std::string first{NormalizeName(suggestion.Name)};
    std::string second{NormalizeName(suggestion.Other)};
    if (second < first)
        std::swap(first, second);
    return QString::fromStdString(first + '\t' + second);
}

} // namespace

void RejectedSuggestions::KeepIn(WindowMemory& memory) {
    memory_ = &memory;
    if (!memory.InUse())
        return;
    const QStringList kept = memory.Value(memory_keys::kRejectedSuggestions).toStringList();
    for (const QString& pair : kept)
        if (!pairs_.contains(pair))
            pairs_ << pair;
}

void RejectedSuggestions::Reject(const AliasSuggestion& suggestion) {
    const QString key = PairKey(suggestion);
    if (pairs_.contains(key))
        return;
    pairs_ << key;
    if (memory_ && memory_->InUse())
        memory_->Keep(memory_keys::kRejectedSuggestions, pairs_);
}

bool RejectedSuggestions::IsRejected(const AliasSuggestion& suggestion) const {
    return pairs_.contains(PairKey(suggestion));
}

std::vector<AliasSuggestion>
RejectedSuggestions::WithoutRejected(std::vector<AliasSuggestion> suggestions) const {
    std::erase_if(suggestions, [this](const AliasSuggestion& s) { return IsRejected(s); });
    return suggestions;
}

} // namespace qla::ui
