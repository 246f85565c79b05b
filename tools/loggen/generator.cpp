// The generator's main loop: a date line, then events drawn with the frequencies of a busy
// server. Every event has a frequency high enough to appear in a log of a few thousand lines.
#include "generator.h"

#include <cstdio>
#include <string>

#include "full_shapes.h"
#include "hostile_lines.h"
#include "line_composer.h"
#include "line_sink.h"
#include "name_pool.h"

namespace loggen {

namespace {

struct EventWeight {
    Event event;
    unsigned weight; // per mille
};

constexpr EventWeight kEventWeights[] = {
    {Event::Unprefixed, 55},
    {Event::EmptyLine, 5},
    {Event::EchoedObituary, 10},
    {Event::Kill, 400},
    {Event::Suicide, 60},
    {Event::Teamkill, 25},
    {Event::GlobalVoice, 90},
    {Event::TeamVoice, 70},
    {Event::LocatedChat, 40},
    {Event::LocatedChatNoBlank, 15},
    {Event::PlainChat, 80},
    {Event::Rename, 12},
    {Event::FireMission, 15},
    {Event::LowerServer, 10},
    {Event::UpperServer, 10},
    {Event::Complaint, 5},
    {Event::Spam, 8},
    {Event::TimedOut, 10},
    {Event::TimedOutNotice, 5},
    {Event::Disconnected, 20},
    {Event::Entered, 55},
};

// In hostile mode this share of lines (per mille) comes from the hostile catalogue.
constexpr unsigned kHostilePerMille = 120;
constexpr std::size_t kHugeLineLength = 100000;
// In the full style this share of lines (per mille) has one of the full style's own shapes.
constexpr unsigned kFullShapePerMille = 200;

Event drawEvent(Random& rng, bool hostile) {
    static const unsigned total = [] {
        unsigned sum = 0;
        for (const EventWeight& entry : kEventWeights)
            sum += entry.weight;
        return sum;
    }();
    if (hostile && rng.below(1000) < kHostilePerMille)
        return Event::Hostile;
    auto roll = static_cast<unsigned>(rng.below(total));
    for (const EventWeight& entry : kEventWeights) {
        if (roll < entry.weight)
            return entry.event;
        roll -= entry.weight;
    }
    return Event::Kill;
}

// "logfile opened on Sat Mar 14 20:31:07 2009": a date between 2003 and 2010 from the seed.
std::string dateLine(Random& rng) {
    static const char* const kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = 2003 + static_cast<int>(rng.below(8));
    const int month = static_cast<int>(rng.below(12));
    const int day = 1 + static_cast<int>(rng.below(kMonthDays[month]));
    // Days since 1 Jan 1970 (a Thursday), for the weekday.
    long days = 0;
    for (int y = 1970; y < year; ++y)
        days += (y % 4 == 0) ? 366 : 365;
    for (int m = 0; m < month; ++m)
        days += kMonthDays[m] + ((m == 1 && year % 4 == 0) ? 1 : 0);
    days += day - 1;
    char text[64];
    std::snprintf(text, sizeof text, "logfile opened on %s %s %2d %02d:%02d:%02d %d",
                  kDays[days % 7], kMonths[month], day, static_cast<int>(rng.below(24)),
                  static_cast<int>(rng.below(60)), static_cast<int>(rng.below(60)), year);
    return text;
}

} // namespace

bool generateLog(const Options& options, std::ostream& out) {
    Random rng(options.seed);
    LineSink sink(out, options.encoding, options.lineEnds, options.seed ^ 0x5EEDF00DULL);
    if (options.lines == 0)
        return sink.finish();

    // German clients only ever meet Windows-1252 names, so a German log has the same text in
    // both encodings and its two files must analyse alike.
    const bool latin1Only =
        options.language == Language::German || options.encoding == Encoding::Windows1252;
    NamePool players(options.players, latin1Only, rng);
    LineComposer composer(phrasesFor(options.language), players, rng, options.hostile);
    const bool full = options.style == Style::Full;
    FullShapeComposer fullShapes(phrasesFor(options.language), fullWordingFor(options.language),
                                 players, rng);
    if (full)
        composer.endVoiceAtMessage();
    // One huge line per hostile log, somewhere after the date line.
    const std::uint64_t hugeLineAt =
        options.hostile && options.lines > 1 ? 1 + rng.below(options.lines - 1) : 0;

    // The code-run lines stand at fixed places.
    const auto codeRunAt = [&](std::uint64_t i) -> int {
        if (options.codeRun == 0 || options.lines < 8)
            return 0;
        for (int k = 1; k <= 3; ++k)
            if (i == options.lines * static_cast<std::uint64_t>(k) / 4)
                return k;
        return 0;
    };

    std::string line = dateLine(rng);
    sink.writeLine(line, options.lines == 1);
    for (std::uint64_t i = 1; i < options.lines; ++i) {
        if (i == hugeLineAt)
            composeHugeLine(kHugeLineLength, line);
        else if (full && rng.below(1000) < kFullShapePerMille)
            fullShapes.compose(line);
        else
            composer.compose(drawEvent(rng, options.hostile), line);
        // Replacing the line drawn leaves the draws of every other line as they were.
        if (const int which = codeRunAt(i); which != 0)
            composeCodeRunLine(options.codeRun, which, line);
        sink.writeLine(line, i + 1 == options.lines);
    }
    return sink.finish();
}

} // namespace loggen
