// Command-line options of qla-loggen and their parser.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace loggen {

enum class Language { English, German };
enum class Encoding { Utf8, Windows1252 };
enum class LineEnds { CrLf, Lf, Cr, Mixed };
// Classic: the layouts the classic analysis reads. Full: also the shapes only full recognition
// reads (see full_shapes.h).
enum class Style { Classic, Full };

struct Options {
    std::uint64_t lines = 1000;
    std::uint64_t players = 32;
    Language language = Language::English;
    Encoding encoding = Encoding::Utf8;
    LineEnds lineEnds = LineEnds::CrLf;
    bool hostile = false;
    // With N > 0: three lines, a quarter, half and three quarters into the log, in each of which
    // a player whose name starts with a row of N colour codes kills (three players).
    std::uint64_t codeRun = 0;
    Style style = Style::Classic;
    std::uint64_t seed = 1;
    std::string outputPath; // empty: standard output
    // With N > 0: a history of `logs` logs played by N persons, written with its truth into
    // `outputFolder` (see history.h); --players does not apply then.
    std::uint64_t persons = 0;
    std::uint64_t logs = 10;
    std::string outputFolder;
    bool help = false;
};

// Fills *options from the arguments (program name excluded). On a usage error returns false
// and puts the reason in *error.
bool parseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

const char* usageText();

} // namespace loggen
