// Parses qla-loggen's arguments. The generator has no Qt, so this is a small hand-written
// parser; every option takes the form "--name value" or "--name=value".
#include "options.h"

#include <charconv>
#include <optional>

namespace loggen {

namespace {

std::optional<std::uint64_t> parseCount(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool badValue(const std::string& name, const std::string& value, std::string* error) {
    *error = "invalid value for --" + name + ": '" + value + "'";
    return false;
}

// Applies one option that takes a value.
bool applyValue(const std::string& name, const std::string& value, bool encodingGiven,
                Options* options, std::string* error) {
    if (name == "lines" || name == "players" || name == "seed" || name == "code-run" ||
        name == "persons" || name == "logs") {
        auto count = parseCount(value);
        if (!count || ((name == "players" || name == "persons" || name == "logs") && *count == 0))
            return badValue(name, value, error);
        (name == "lines"     ? options->lines
         : name == "players" ? options->players
         : name == "seed"    ? options->seed
         : name == "persons" ? options->persons
         : name == "logs"    ? options->logs
                             : options->codeRun) = *count;
    } else if (name == "language") {
        if (value != "english" && value != "german")
            return badValue(name, value, error);
        options->language = value == "german" ? Language::German : Language::English;
        // German logs come from a Windows-1252 game client unless told otherwise.
        if (!encodingGiven)
            options->encoding =
                options->language == Language::German ? Encoding::Windows1252 : Encoding::Utf8;
    } else if (name == "encoding") {
        if (value != "utf-8" && value != "windows-1252")
            return badValue(name, value, error);
        options->encoding = value == "utf-8" ? Encoding::Utf8 : Encoding::Windows1252;
    } else if (name == "line-ends") {
        if (value == "crlf")
            options->lineEnds = LineEnds::CrLf;
        else if (value == "lf")
            options->lineEnds = LineEnds::Lf;
        else if (value == "cr")
            options->lineEnds = LineEnds::Cr;
        else if (value == "mixed")
            options->lineEnds = LineEnds::Mixed;
        else
            return badValue(name, value, error);
    } else if (name == "recognition") {
        if (value != "classic" && value != "full")
            return badValue(name, value, error);
        options->style = value == "full" ? Style::Full : Style::Classic;
    } else if (name == "output-folder") {
        if (value.empty())
            return badValue(name, value, error);
        options->outputFolder = value;
    } else if (name == "output") {
        if (value.empty())
            return badValue(name, value, error);
        options->outputPath = value;
    } else {
        *error = "unknown option --" + name;
        return false;
    }
    return true;
}

} // namespace

bool parseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
    *options = Options{};
    bool encodingGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            *error = "unexpected argument '" + arg + "'";
            return false;
        }
        std::string name = arg.substr(2);
        if (name == "hostile" || name == "help") {
            (name == "hostile" ? options->hostile : options->help) = true;
            continue;
        }
        std::string value;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            *error = "option --" + name + " needs a value";
            return false;
        }
        if (!applyValue(name, value, encodingGiven, options, error))
            return false;
        encodingGiven = encodingGiven || name == "encoding";
    }
    if (options->persons > 0 && options->outputFolder.empty()) {
        *error = "--persons needs --output-folder DIR";
        return false;
    }
    if (options->persons == 0 && !options->outputFolder.empty()) {
        *error = "--output-folder goes with --persons";
        return false;
    }
    return true;
}

const char* usageText() {
    return "usage: qla-loggen [options]\n"
           "  --lines N                  lines to write, the date line included (default 1000)\n"
           "  --players N                distinct player names (default 32)\n"
           "  --language english|german  wording of the log (default english)\n"
           "  --encoding utf-8|windows-1252\n"
           "                             default: utf-8 for English, windows-1252 for German\n"
           "  --line-ends crlf|lf|cr|mixed\n"
           "                             every line is followed by its line end (default crlf);\n"
           "                             mixed always ends the last line with CR LF\n"
           "  --hostile                  add adversarial names and malformed lines\n"
           "  --code-run N               three lines (at 1/4, 1/2 and 3/4 of a log of 8 lines or\n"
           "                             more) in which a player whose name starts with N\n"
           "                             colour codes kills\n"
           "  --recognition classic|full line shapes: classic (default) writes those the classic\n"
           "                             analysis reads; full adds the other shapes the game\n"
           "                             writes (private chat, newer deaths, cut names, ...)\n"
           "  --seed S                   the same seed and options give the same bytes\n"
           "  --output PATH              write to PATH instead of standard output\n"
           "  --persons N                a history: N persons play --logs logs of --lines lines\n"
           "                             each; needs --output-folder\n"
           "  --logs N                   the logs of a history (default 10)\n"
           "  --output-folder DIR        where a history goes: logNN.log, logNN.truth.tsv (who\n"
           "                             each event line belongs to) and persons.tsv (each\n"
           "                             person's main name, first log and skill per log)\n";
}

} // namespace loggen
