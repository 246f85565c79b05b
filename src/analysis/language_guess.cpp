// Weighing a log's first lines against each language's obituary phrases.
#include "analysis/language_guess.h"

#include <algorithm>

namespace qla {

namespace {

constexpr LogLanguage kLanguages[] = {LogLanguage::English, LogLanguage::German};

// "Far better": at least this many obituaries, and at least this many times those of the other.
constexpr std::size_t kFewestObituaries = 5;
constexpr std::size_t kTimesBetter = 4;

bool IsObituary(LineKind kind) {
    return kind == LineKind::Kill || kind == LineKind::Teamkill || kind == LineKind::Died;
}

} // namespace

LanguageEvidence WeighLogLanguages(const LogLineList& lines, std::size_t firstLines) {
    LanguageEvidence evidence;
    const std::size_t count = std::min(lines.size(), firstLines);
    for (const LogLanguage language : kLanguages) {
        const LanguageRoutines& routines = RoutinesOf(language);
        std::size_t& found = evidence.Obituaries[static_cast<std::size_t>(language)];
        for (std::size_t i = 0; i < count; ++i) {
            ClassifiedKill kill;
            if (IsObituary(routines.Classify(lines[i], kill)))
                ++found;
        }
    }
    return evidence;
}

LogLanguage LikelyLogLanguage(const LanguageEvidence& evidence) {
    return evidence.Of(LogLanguage::German) > evidence.Of(LogLanguage::English)
               ? LogLanguage::German
               : LogLanguage::English;
}

std::optional<LogLanguage> FarBetterLanguage(const LanguageEvidence& evidence,
                                             LogLanguage current) {
    const LogLanguage other =
        current == LogLanguage::English ? LogLanguage::German : LogLanguage::English;
    const std::size_t theirs = evidence.Of(other);
    if (theirs >= kFewestObituaries && theirs >= kTimesBetter * evidence.Of(current))
        return other;
    return std::nullopt;
}

} // namespace qla
