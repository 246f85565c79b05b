// A small writer of compact JSON text into a string. Strings are escaped so that the document can
// also stand inside an HTML <script> element: "<", ">", "&" and the JavaScript line breaks
// U+2028/U+2029 are written as \u escapes, so no text of a log can close the element.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// Appends `text` as a quoted JSON string. Bytes that are not valid UTF-8 become U+FFFD, so the
// result is always valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

// Commas and colons are placed by the writer; the caller keeps objects and arrays balanced.
class JsonWriter {
  public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The key of the next value in an object.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Number(std::int64_t value);
    // hundredths / 100 as a JSON number: 150 -> 1.5.
    void Hundredths(std::int64_t hundredths);
    // A double as the shortest text that reads back as it (null for an infinity or NaN).
    void Real(double value);
    void Bool(bool value);
    void Null();

    // Key and value in one call, for the many flat fields.
    void Field(std::string_view key, std::string_view text) {
        Key(key);
        String(text);
    }
    void Field(std::string_view key, const char* text) { Field(key, std::string_view(text)); }
    void Field(std::string_view key, std::int64_t value) {
        Key(key);
        Number(value);
    }
    void Field(std::string_view key, int value) { Field(key, static_cast<std::int64_t>(value)); }
    void Field(std::string_view key, bool value) {
        Key(key);
        Bool(value);
    }

  private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();

    std::string& out_;
    std::vector<bool> first_; // per open container: no element written yet
    bool afterKey_ = false;
};

} // namespace qla
