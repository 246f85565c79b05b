// Splitting and decoding a log file. One pass over the bytes finds the line ends and checks each
// line for valid UTF-8; only when some line is not UTF-8 is the buffer widened and those lines
// decoded in place, so the file is never held twice.
#include "log_lines.h"

#include "text.h"
#include "utf16_log.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qla {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Marks (in the high bit of each byte) the bytes of a word that need a closer look: CR, LF and
// every byte above 0x7F. Bits above the lowest mark may be false alarms; the lowest is exact.
inline std::uint64_t SpecialBytes(std::uint64_t w) {
    const std::uint64_t cr = w ^ (kOnes * '\r');
    const std::uint64_t lf = w ^ (kOnes * '\n');
    return (w | ((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
}

// Counts the plain ASCII bytes (no CR, no LF) at `p`, looking at 16 or 8 of the `left` bytes
// (`looked` says how many; 0 when fewer than 8 are left). A count below `looked` stops at a
// byte that needs a closer look.
inline std::size_t PlainBytes(const unsigned char* p, std::size_t left, std::size_t& looked) {
#if defined(__SSE2__)
    if (left >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        // The top bit of each byte: set for line ends and for every byte above 0x7F.
        const auto special = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, v)));
        looked = 16;
        return special == 0 ? 16 : static_cast<std::size_t>(std::countr_zero(special));
    }
#endif
    if (std::endian::native == std::endian::little && left >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, sizeof w);
        const std::uint64_t special = SpecialBytes(w);
        looked = 8;
        return special == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(special)) / 8;
    }
    looked = 0;
    return 0;
}

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence starting with the non-ASCII byte at `p`, or 0 when it is not
// one. CR and LF are no continuation bytes, so a sequence never runs across a line end.
std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char b = p[0];
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        hi = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < len || p[1] < lo || p[1] > hi) {
        return 0;
    }
    for (std::size_t i = 2; i < len; ++i) {
        if (!IsContinuation(p[i])) {
            return 0;
        }
    }
    return len;
}

// The UTF-8 form of every Windows-1252 byte, made at compile time.
struct Utf8Form {
    std::uint8_t length = 0;
    char bytes[3]{};
};

constexpr std::array<Utf8Form, 256> MakeUtf8Forms() {
    std::array<Utf8Form, 256> forms{};
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t cp = Windows1252CodePoint(static_cast<unsigned char>(b));
        Utf8Form& f = forms[b];
        if (cp < 0x80) {
            f.length = 1;
            f.bytes[0] = static_cast<char>(cp);
        } else if (cp < 0x800) { // the table holds nothing above U+FFFF
            f.length = 2;
            f.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
            f.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            f.length = 3;
            f.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
            f.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            f.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return forms;
}

constexpr std::array<Utf8Form, 256> kUtf8Forms = MakeUtf8Forms();

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
    LogLineList list;
    const std::size_t size = bytes.size();
    std::size_t start = 0;
    if (from == Start::kFileStart && size >= 3 &&
        std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) {
        start = 3;
    }
    list.spans_.reserve(size / 48 + 1);
    std::vector<std::size_t> windowsLines; // lines that are not UTF-8, in order

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = data + size;
    std::size_t lineStart = start;
    bool lineValid = true;
    bool endedByLineEnd = false; // the last line end was the file's last byte
    auto finishLine = [&](std::size_t lineEnd) {
        if (!lineValid) {
            windowsLines.push_back(list.spans_.size());
        }
        list.spans_.emplace_back(lineStart, lineEnd - lineStart);
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

    list.text_ = std::move(bytes);
    if (!windowsLines.empty()) {
        list.DecodeWindowsLines(windowsLines);
    }
    return list;
}

void LogLineList::DecodeWindowsLines(const std::vector<std::size_t>& windowsLines) {
    // Each line moves right by what the decoded lines before it grew, so a line's new place
    // never starts before its old one; filling from the last line backwards then reads every
    // byte before it is overwritten.
    std::vector<std::uint64_t> growth(windowsLines.size());
    std::uint64_t grown = 0;
    for (std::size_t k = 0; k < windowsLines.size(); ++k) {
        const auto& [offset, length] = spans_[windowsLines[k]];
        growth[k] =
            WidenedGrowth(reinterpret_cast<const unsigned char*>(text_.data() + offset), length);
        grown += growth[k];
    }
    const std::size_t oldSize = text_.size();
    text_.Resize(oldSize + grown);

    std::size_t k = windowsLines.size();
    std::uint64_t shift = grown; // how far the line being moved goes right
    for (std::size_t line = spans_.size(); line-- > 0;) {
        auto& [offset, length] = spans_[line];
        const bool windows = k > 0 && windowsLines[k - 1] == line;
        if (windows) {
            --k;
            shift -= growth[k];
        }
        if (shift == 0 && !windows) {
            break; // this line and all before it stay where they are
        }
        char* from = text_.data() + offset;
        offset += shift;
        if (windows) {
            length += growth[k];
            WidenBackwards(from, length - growth[k], text_.data() + offset + length);
        } else if (length > 0) {
            std::memmove(text_.data() + offset, from, length);
        }
    }
}

LogLineList LogLineList::FromLines(const std::vector<std::string>& lines) {
    LogLineList list;
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size();
    }
    list.text_ = ByteBuffer::Uninitialized(total);
    list.spans_.reserve(lines.size());
    std::size_t offset = 0;
    for (const std::string& line : lines) {
        list.spans_.emplace_back(offset, line.size());
        if (!line.empty()) {
            std::memcpy(list.text_.data() + offset, line.data(), line.size());
        }
        offset += line.size();
    }
    return list;
}

} // namespace qla
