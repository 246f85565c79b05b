// CSV quoting and the formula guard.
#include "export/data/csv_text.h"

#include "core/control_chars.h"

#include <algorithm>

namespace qla {

std::string CsvSeparatorProblem(std::string_view separator) {
    if (separator.empty())
        return "The CSV separator must not be empty.";
    if (separator.find_first_of("\"\r\n") != std::string_view::npos)
        return "The CSV separator must not hold a quote or a line end.";
    return {};
}

bool LooksLikeFormula(std::string_view field) {
    if (field.empty())
        return false;
    switch (field.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

namespace {

void AppendQuotedIfNeeded(std::string& out, std::string_view prefix, std::string_view field,
                          std::string_view separator) {
    const bool quote = field.find_first_of("\"\r\n") != std::string_view::npos ||
                       (!separator.empty() && field.find(separator) != std::string_view::npos) ||
                       (!separator.empty() && prefix.find(separator) != std::string_view::npos);
    if (!quote) {
        out += prefix;
        out += field;
        return;
    }
    out.push_back('"');
    out += prefix;
    for (const char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace

namespace {

// NUL, ESC and the other C0 controls but tab, CR and LF become U+FFFD, as in every other export;
// CR and LF stay, quoted.
std::string_view WithoutStrayControls(std::string_view field, std::string& scratch) {
    const auto stray = [](char c) { return IsReplacedControl(c) && c != '\r' && c != '\n'; };
    if (std::none_of(field.begin(), field.end(), stray))
        return field;
    scratch.clear();
    for (const char c : field) {
        if (stray(c))
            scratch += "\xEF\xBF\xBD";
        else
            scratch.push_back(c);
    }
    return scratch;
}

} // namespace

void AppendCsvField(std::string& out, std::string_view field, const CsvOptions& options) {
    std::string scratch;
    field = WithoutStrayControls(field, scratch);
    const std::string_view prefix = !options.RawFields && LooksLikeFormula(field) ? "'" : "";
    AppendQuotedIfNeeded(out, prefix, field, options.Separator);
}

void AppendCsvNumber(std::string& out, std::string_view number, const CsvOptions& options) {
    AppendQuotedIfNeeded(out, "", number, options.Separator);
}

std::string CsvRow(std::initializer_list<std::string_view> fields, const CsvOptions& options) {
    std::string row;
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            row += options.Separator;
        AppendCsvField(row, field, options);
        first = false;
    }
    return row;
}

} // namespace qla
