// CSV fields and rows: quoting after RFC 4180 and the guard against spreadsheet formulas.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qla {

struct CsvOptions {
    std::string Separator = ",";
    // Off: a field a spreadsheet would run as a formula gets a leading apostrophe.
    bool RawFields = false;
};

// Why `separator` cannot separate CSV fields (empty, or holding a quote, CR or LF, which a
// reader could not tell from a quoted field); empty when it can.
std::string CsvSeparatorProblem(std::string_view separator);

// Whether a spreadsheet would take the field as a formula: it begins with "=", "+", "-", "@",
// a tab or a carriage return.
bool LooksLikeFormula(std::string_view field);

// Appends one field: quoted when it holds the separator, a quote, CR or LF, inner quotes
// doubled; a formula-like text field gets an apostrophe first unless the options say raw.
void AppendCsvField(std::string& out, std::string_view field, const CsvOptions& options);
// Numbers are never guarded: "-3" is a number, not a formula.
void AppendCsvNumber(std::string& out, std::string_view number, const CsvOptions& options);

// A row of text fields joined by the separator, without the line end.
std::string CsvRow(std::initializer_list<std::string_view> fields, const CsvOptions& options);

} // namespace qla
