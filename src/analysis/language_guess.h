// Which log language a log is written in, judged by its obituaries: the kill, teamkill and death
// lines of one language do not read as such in the other.
#pragma once

#include "core/log_lines.h"
#include "languages/languages.h"

#include <array>
#include <cstddef>
#include <optional>

namespace qla {

inline constexpr std::size_t kLinesJudged = 10000;

// How many of the first lines read as obituaries in each language, by the language's number.
struct LanguageEvidence {
    std::array<std::size_t, 2> Obituaries{};
    std::size_t Of(LogLanguage language) const {
        return Obituaries[static_cast<std::size_t>(language)];
    }
};

LanguageEvidence WeighLogLanguages(const LogLineList& lines, std::size_t firstLines = kLinesJudged);

// The language whose obituaries the lines hold more of; English when neither has more.
LogLanguage LikelyLogLanguage(const LanguageEvidence& evidence);

// The other language, when a log read as `current` matches it far better: worth asking the user
// to switch. Nothing when the evidence is thin or the choice is already right.
std::optional<LogLanguage> FarBetterLanguage(const LanguageEvidence& evidence, LogLanguage current);

} // namespace qla
