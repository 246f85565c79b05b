// Splitting and decoding a log file. One pass over the bytes finds the line ends and checks each
// line for valid UTF-8; only when some line is not UTF-8 is the buffer widened and those lines
// decoded in place, so the file is never held twice.
#include "log_lines.h"

#include "line_scan.h"
#include "text.h"
#include "utf16_log.h"

#include <cstring>

namespace qla {

namespace {

using namespace line_scan;

inline bool HasHighByte(const unsigned char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return (w & kHighs) != 0;
}

// How many bytes longer the Windows-1252 bytes get in UTF-8; ASCII words are skipped whole.
std::uint64_t WidenedGrowth(const unsigned char* p, std::size_t length) {
    std::uint64_t growth = 0;
    std::size_t i = 0;
    while (i < length) {
        if (i + 8 <= length && !HasHighByte(p + i)) {
            i += 8;
            continue;
        }
        growth += kUtf8Forms[p[i]].length - 1u;
        ++i;
    }
    return growth;
}

// Writes the UTF-8 form of the Windows-1252 bytes [from, from + length) so that it ends at `end`,
// working backwards: the output may overlap the input as long as it ends at or after it. Runs
// of ASCII move as blocks.
void WidenBackwards(const char* from, std::size_t length, char* end) {
    const auto* p = reinterpret_cast<const unsigned char*>(from);
    std::size_t i = length;
    while (i > 0) {
        std::size_t run = i; // the ASCII run is [run, i)
        while (run >= 8 && !HasHighByte(p + run - 8)) {
            run -= 8;
        }
        while (run > 0 && p[run - 1] < 0x80) {
            --run;
        }
        end -= i - run;
        std::memmove(end, from + run, i - run);
        i = run;
        if (i == 0) {
            break;
        }
        const Utf8Form& form = kUtf8Forms[p[--i]];
        end -= form.length;
        std::memcpy(end, form.bytes, form.length);
    }
}

} // namespace

LogLineList LogLineList::FromBytes(std::string_view bytes) {
    ByteBuffer buffer = ByteBuffer::Uninitialized(bytes.size());
    if (!bytes.empty())
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
    return FromBuffer(std::move(buffer));
}

LogLineList LogLineList::FromBuffer(ByteBuffer bytes, Start from) {
    // The byte-order mark that makes a log UTF-16 is at the start of the file only.
    if (const Utf16Order order = Utf16OrderOf(std::string_view(bytes.data(), bytes.size()));
        from == Start::kFileStart && order != Utf16Order::None) {
        bytes = DecodeUtf16(std::string_view(bytes.data(), bytes.size()), order);
    }
    auto list = std::make_shared<Body>();
    const std::size_t size = bytes.size();
    std::size_t start = 0;
    if (from == Start::kFileStart && size >= 3 &&
        std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) {
        start = 3;
    }
    list->Spans.reserve(size / 48 + 1);
    std::vector<std::size_t> windowsLines; // lines that are not UTF-8, in order

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = data + size;
    std::size_t lineStart = start;
    bool lineValid = true;
    bool endedByLineEnd = false; // the last line end was the file's last byte
    auto finishLine = [&](std::size_t lineEnd) {
        if (!lineValid) {
            windowsLines.push_back(list->Spans.size());
        }
        list->Spans.emplace_back(lineStart, lineEnd - lineStart);
        lineValid = true;
    };

    std::size_t i = start;
    while (i < size) {
        std::size_t looked = 0;
        const std::size_t plain = PlainBytes(data + i, size - i, looked);
        i += plain;
        if (plain == looked && looked > 0) {
            continue;
        }
        const unsigned char b = data[i];
        if (b == '\n') {
            finishLine(i);
            lineStart = ++i;
            endedByLineEnd = i == size;
        } else if (b == '\r') {
            finishLine(i);
            i += (i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
            lineStart = i;
            endedByLineEnd = i == size;
        } else if (b < 0x80) {
            ++i;
        } else {
            const std::size_t len = lineValid ? Utf8SequenceLength(data + i, end) : 0;
            if (len == 0) {
                lineValid = false;
                ++i;
            } else {
                i += len;
            }
        }
    }
    // A line end at the very end starts no new line, so a log read in two pieces split after a
    // line end gives the lines of the whole; an empty file is one empty line.
    if (!endedByLineEnd) {
        finishLine(size);
    }

    list->Text = std::move(bytes);
    if (!windowsLines.empty()) {
        list->DecodeWindowsLines(windowsLines);
    }
    return LogLineList(std::move(list));
}

void LogLineList::Body::DecodeWindowsLines(const std::vector<std::size_t>& windowsLines) {
    // Each line moves right by what the decoded lines before it grew, so a line's new place
    // never starts before its old one; filling from the last line backwards then reads every
    // byte before it is overwritten.
    std::vector<std::uint64_t> growth(windowsLines.size());
    std::uint64_t grown = 0;
    for (std::size_t k = 0; k < windowsLines.size(); ++k) {
        const auto& [offset, length] = Spans[windowsLines[k]];
        growth[k] =
            WidenedGrowth(reinterpret_cast<const unsigned char*>(Text.data() + offset), length);
        grown += growth[k];
    }
    const std::size_t oldSize = Text.size();
    Text.Resize(oldSize + grown);

    std::size_t k = windowsLines.size();
    std::uint64_t shift = grown; // how far the line being moved goes right
    for (std::size_t line = Spans.size(); line-- > 0;) {
        auto& [offset, length] = Spans[line];
        const bool windows = k > 0 && windowsLines[k - 1] == line;
        if (windows) {
            --k;
            shift -= growth[k];
        }
        if (shift == 0 && !windows) {
            break; // this line and all before it stay where they are
        }
        char* from = Text.data() + offset;
        offset += shift;
        if (windows) {
            length += growth[k];
            WidenBackwards(from, length - growth[k], Text.data() + offset + length);
        } else if (length > 0) {
            std::memmove(Text.data() + offset, from, length);
        }
    }
}

LogLineList LogLineList::FromLines(const std::vector<std::string>& lines) {
    auto list = std::make_shared<Body>();
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size();
    }
    list->Text = ByteBuffer::Uninitialized(total);
    list->Spans.reserve(lines.size());
    std::size_t offset = 0;
    for (const std::string& line : lines) {
        list->Spans.emplace_back(offset, line.size());
        if (!line.empty()) {
            std::memcpy(list->Text.data() + offset, line.data(), line.size());
        }
        offset += line.size();
    }
    return LogLineList(std::move(list));
}

} // namespace qla
