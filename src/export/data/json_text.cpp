// JSON string escaping and the compact writer.
#include "export/data/json_text.h"

#include "core/line_scan.h"
#include "stats/sort_table.h"

#include <charconv>
#include <cmath>

namespace qla {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, unsigned code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(code >> shift) & 0xF]);
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '<':
            case '>':
            case '&':
                AppendUnicodeEscape(out, c);
                break;
            default:
                if (c < 0x20 || c == 0x7F)
                    AppendUnicodeEscape(out, c);
                else
                    out.push_back(static_cast<char>(c));
            }
            ++i;
            continue;
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const std::size_t length = line_scan::Utf8SequenceLength(bytes + i, bytes + text.size());
        if (length == 0) {
            out += "\xEF\xBF\xBD"; // U+FFFD for a byte that starts no valid sequence
            ++i;
            continue;
        }
        // U+2028 and U+2029 end a line in older JavaScript; escaped they are harmless everywhere.
        if (length == 3 && c == 0xE2 && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
             static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            AppendUnicodeEscape(out,
                                static_cast<unsigned char>(text[i + 2]) == 0xA8 ? 0x2028 : 0x2029);
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    out.push_back('"');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back())
            out_.push_back(',');
        first_.back() = false;
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    out_.push_back(bracket);
    first_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    out_.push_back(bracket);
    first_.pop_back();
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    AppendJsonString(out_, key);
    out_.push_back(':');
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    AppendJsonString(out_, text);
}

void JsonWriter::Number(std::int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Hundredths(std::int64_t hundredths) {
    BeforeValue();
    out_ += RatioText(hundredths, ".");
}

void JsonWriter::Real(double value) {
    BeforeValue();
    // The shortest text that reads back as the same double; JSON has no infinities or NaN.
    if (!std::isfinite(value)) {
        out_ += "null";
        return;
    }
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    out_.append(text, written.ptr);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

} // namespace qla
