// Implementation of the generator test helpers.
#include "loggen_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

#include "run_loggen.h"

namespace loggen_test {

std::string generate(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = loggen::runLogGen(args, out, err);
    EXPECT_EQ(status, 0) << err.str();
    return out.str();
}

std::vector<std::string> splitTerminatedLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            current += c;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lines.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty())
        lines.push_back(std::move(current));
    return lines;
}

std::size_t readerLineCount(std::string_view bytes) {
    std::vector<std::string_view> crLines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        crLines.push_back(bytes.substr(start, i - start));
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size() || crLines.empty())
        crLines.push_back(bytes.substr(start));
    std::size_t count = 0;
    for (std::string_view line : crLines) {
        count += 1;
        for (char c : line)
            count += c == '\n' ? 1 : 0;
    }
    return count;
}

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace loggen_test
