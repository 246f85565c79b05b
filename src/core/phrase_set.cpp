// Scanning a line for a phrase set. With a shared start ("was " for every English kill phrase)
// the line is searched once for that start and each hit is compared with the phrases that the
// next byte allows; a phrase occurs exactly where its shared start occurs and the rest compares
// equal, so the answer is the one that separate searches would give.
#include "phrase_set.h"

#include <bit>

namespace qla {

std::uint32_t PhraseSet::Mask(std::string_view line) const {
    std::uint32_t mask = 0;
    if (prefix_ > 0 || suffix_ > 0) {
        const bool byStart = prefix_ >= suffix_;
        const std::size_t shared = byStart ? prefix_ : suffix_;
        const std::string_view anchor = byStart ? phrases_[0].substr(0, prefix_)
                                                : phrases_[0].substr(phrases_[0].size() - suffix_);
        for (std::size_t at = FindBytes(line, anchor); at != std::string_view::npos;
             at = FindBytes(line, anchor, at + 1)) {
            // The byte next to the shared part names the few phrases that can stand here.
            const std::size_t next = byStart ? at + shared : at - 1;
            const bool hasNext = byStart ? next < line.size() : at > 0;
            std::uint32_t candidates = atEveryHit_;
            if (hasNext) {
                candidates |= candidates_[static_cast<unsigned char>(line[next])];
            }
            candidates &= ~mask;
            while (candidates != 0) {
                const int i = std::countr_zero(candidates);
                candidates &= candidates - 1;
                const std::string_view phrase = phrases_[i];
                // The phrase begins at the hit, or ends where the shared end does.
                const std::size_t begin = byStart ? at : at + shared - phrase.size();
                if ((byStart ? line.size() - at : at + shared) >= phrase.size() &&
                    SameBytes(line.data() + begin, phrase.data(), phrase.size())) {
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
