// A small fixed set of phrases searched together. Classifiers and parsers ask which phrases a line
// contains; one scan answers for all of them, which keeps the per-line cost flat however many
// phrases a language has.
#pragma once

#include "byte_search.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace qla {

class PhraseSet {
  public:
    static constexpr std::size_t kCapacity = 8;

    constexpr PhraseSet(std::initializer_list<std::string_view> phrases) {
        for (std::string_view p : phrases) {
            if (count_ == kCapacity || p.empty()) {
                throw "PhraseSet holds at most 8 non-empty phrases"; // compile-time error
            }
            phrases_[count_++] = p;
        }
        prefix_ = CommonLength(false);
        suffix_ = CommonLength(true);
        // Which phrases can stand at an anchor hit, by the byte just after the shared start (or
        // just before the shared end); a phrase that is all shared part stands at every hit.
        const bool byStart = prefix_ >= suffix_;
        const std::size_t shared = byStart ? prefix_ : suffix_;
        if (shared > 0) {
            for (std::size_t i = 0; i < count_; ++i) {
                const std::string_view p = phrases_[i];
                const auto bit = static_cast<std::uint8_t>(1u << i);
                if (p.size() == shared) {
                    atEveryHit_ |= bit;
                } else {
                    const char next = byStart ? p[shared] : p[p.size() - 1 - shared];
                    candidates_[static_cast<unsigned char>(next)] |= bit;
                }
            }
        }
    }

    constexpr std::size_t size() const { return count_; }
    constexpr std::string_view operator[](std::size_t i) const { return phrases_[i]; }

    // Bit i is set when phrase i occurs anywhere in the line.
    std::uint32_t Mask(std::string_view line) const;

    // The index of the first phrase (in set order) that occurs in the line; -1 when none does.
    int FirstIndex(std::string_view line) const;

    bool ContainsAny(std::string_view line) const { return FirstIndex(line) >= 0; }

  private:
    // Length of the text that every phrase begins (or ends) with.
    constexpr std::size_t CommonLength(bool fromEnd) const {
        if (count_ == 0) {
            return 0;
        }
        std::size_t n = phrases_[0].size();
        for (std::size_t i = 1; i < count_; ++i) {
            std::string_view a = phrases_[0], b = phrases_[i];
            std::size_t k = 0;
            while (k < n && k < b.size() &&
                   (fromEnd ? a[a.size() - 1 - k] == b[b.size() - 1 - k] : a[k] == b[k])) {
                ++k;
            }
            n = k;
        }
        return n;
    }

    std::string_view phrases_[kCapacity]{};
    std::size_t count_ = 0;
    std::size_t prefix_ = 0;         // shared leading bytes: search those once, then compare
    std::size_t suffix_ = 0;         // shared trailing bytes, used when there is no shared start
    std::uint8_t candidates_[256]{}; // by the byte next to the shared part: phrases to compare
    std::uint8_t atEveryHit_ = 0;
};

} // namespace qla
