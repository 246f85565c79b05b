// Scanning a line for a phrase set. With a shared start ("was " for every English kill phrase)
// the line is searched once for that start and each hit is compared with the phrases; a phrase
// occurs exactly where its shared start occurs and the rest compares equal, so the answer is the
// one that separate searches would give.
#include "phrase_set.h"

#include <bit>

namespace qla {

namespace {

// The first byte after the shared part tells most phrases apart, so it is looked at before the
// whole phrase is compared.
inline bool StartsWithAfter(std::string_view text, std::string_view phrase, std::size_t shared) {
    return text.size() >= phrase.size() &&
           (phrase.size() == shared || text[shared] == phrase[shared]) &&
           std::memcmp(text.data(), phrase.data(), phrase.size()) == 0;
}

inline bool EndsWithBefore(std::string_view text, std::string_view phrase, std::size_t shared) {
    return text.size() >= phrase.size() &&
           (phrase.size() == shared ||
            text[text.size() - 1 - shared] == phrase[phrase.size() - 1 - shared]) &&
           std::memcmp(text.data() + text.size() - phrase.size(), phrase.data(), phrase.size()) ==
               0;
}

} // namespace

std::uint32_t PhraseSet::Mask(std::string_view line) const {
    std::uint32_t mask = 0;
    if (prefix_ > 0 || suffix_ > 0) {
        const bool byStart = prefix_ >= suffix_;
        const std::string_view anchor = byStart ? phrases_[0].substr(0, prefix_)
                                                : phrases_[0].substr(phrases_[0].size() - suffix_);
        for (std::size_t at = FindBytes(line, anchor); at != std::string_view::npos;
             at = FindBytes(line, anchor, at + 1)) {
            const std::string_view from = line.substr(at);
            const std::string_view upTo = line.substr(0, at + anchor.size());
            for (std::size_t i = 0; i < count_; ++i) {
                if (byStart ? StartsWithAfter(from, phrases_[i], prefix_)
                            : EndsWithBefore(upTo, phrases_[i], suffix_)) {
                    mask |= std::uint32_t{1} << i;
                }
            }
        }
        return mask;
    }
    for (std::size_t i = 0; i < count_; ++i) {
        if (ContainsBytes(line, phrases_[i])) {
            mask |= std::uint32_t{1} << i;
        }
    }
    return mask;
}

int PhraseSet::FirstIndex(std::string_view line) const {
    if (prefix_ > 0 || suffix_ > 0) {
        const std::uint32_t mask = Mask(line);
        return mask == 0 ? -1 : std::countr_zero(mask);
    }
    for (std::size_t i = 0; i < count_; ++i) {
        if (ContainsBytes(line, phrases_[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace qla
