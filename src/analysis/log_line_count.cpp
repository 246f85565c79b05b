// Counting lines piece by piece. The rules are those of LogLineList::FromBuffer: CR, LF and
// CR LF end a line; a line end at the very end starts no new line; a UTF-16 log (by its
// byte-order mark) is counted in 16-bit units. The first line is kept, up to a bound, for the
// date.
#include "analysis/log_line_count.h"

#include "analysis/analysis.h"
#include "analysis/log_file_check.h"
#include "core/log_lines.h"
#include "core/utf16_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <unistd.h>

namespace qla {

namespace {

// A date line is short; a first line longer than this is kept only in part.
constexpr std::size_t kFirstLineBound = 64 * 1024;

// Line-end bookkeeping over a stream of code units (bytes, or UTF-16 units).
class LineEndCounter {
  public:
    void Unit(char32_t unit) {
        if (pendingCr_ && unit == '\n') { // the LF of a CR LF
            pendingCr_ = false;
            return;
        }
        pendingCr_ = false;
        if (unit == '\r' || unit == '\n') {
            ++ends_;
            pendingCr_ = unit == '\r';
            endedByEnd_ = true;
            return;
        }
        endedByEnd_ = false;
    }
    void Content() {
        pendingCr_ = false;
        endedByEnd_ = false;
    }
    void ByteUnit(unsigned char byte) {
        if (byte == '\r' || byte == '\n')
            Unit(byte);
        else
            Content();
    }
    // The same for a run of bytes: every CR ends a line, and so does every LF whose byte before
    // is no CR. Sixteen bytes at a time without a branch, each byte's place compared with the
    // byte before it; the matches add up in byte-wide counters that are summed before they
    // could overflow.
    void Bytes(const unsigned char* p, std::size_t size) {
        std::size_t i = 0;
#if defined(__SSE2__)
        if (size > 16) {
            ByteUnit(p[0]); // against the last byte of the piece before
            i = 1;
            const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
            const __m128i zero = _mm_setzero_si128();
            __m128i sums = zero;
            while (i + 16 <= size) {
                const std::size_t stop = std::min(size, i + 255 * 16);
                __m128i counts = zero;
                for (; i + 16 <= stop; i += 16) {
                    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                    const __m128i before =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i - 1));
                    const __m128i ends = _mm_or_si128(
                        _mm_cmpeq_epi8(v, cr),
                        _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(v, lf)));
                    counts = _mm_sub_epi8(counts, ends); // a match is -1
                }
                sums = _mm_add_epi64(sums, _mm_sad_epu8(counts, zero));
            }
            std::uint64_t halves[2];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), sums);
            ends_ += halves[0] + halves[1];
            pendingCr_ = p[i - 1] == '\r';
            endedByEnd_ = p[i - 1] == '\r' || p[i - 1] == '\n';
        }
#endif
        for (; i < size; ++i)
            ByteUnit(p[i]);
    }

    // A line end that nothing follows starts no line; otherwise there is one more line than
    // there were line ends (an empty file is one empty line).
    std::uint64_t Lines() const {
        return endedByEnd_ ? ends_ : ends_ + 1;
    }
    bool SeenEnd() const {
        return ends_ > 0;
    }

  private:
    std::uint64_t ends_ = 0;
    bool pendingCr_ = false;
    bool endedByEnd_ = false;
};

} // namespace

LogFileFacts ReadLogFileFacts(const std::string& path) {
    LogFileFacts facts;
    facts.Error = OpenProblem(path);
    if (!facts.Error.empty())
        return facts;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        facts.Error = "The file cannot be read: " + path;
        return facts;
    }
    const auto piece = std::make_unique<char[]>(kLineCountPiece);
    std::string firstLine; // raw bytes up to the first line end, byte-order mark included
    LineEndCounter counter;
    Utf16Order order = Utf16Order::None;
    bool first = true;
    int oddByte = -1; // a UTF-16 unit's first byte left over from the previous piece
    for (;;) {
        const ssize_t got = ::read(fd, piece.get(), kLineCountPiece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            facts.Error = "The file cannot be read: " + path;
            ::close(fd);
            return facts;
        }
        if (got == 0)
            break;
        const auto* bytes = reinterpret_cast<const unsigned char*>(piece.get());
        auto size = static_cast<std::size_t>(got);
        std::size_t i = 0;
        if (first) {
            order = Utf16OrderOf(std::string_view(piece.get(), size));
            first = false;
        }
        // The first line's bytes: everything before the first line end, within the bound.
        if (!counter.SeenEnd() && firstLine.size() < kFirstLineBound)
            firstLine.append(piece.get(), std::min(size, kFirstLineBound - firstLine.size()));
        if (order == Utf16Order::None) {
            counter.Bytes(bytes, size);
            continue;
        }
        const bool little = order == Utf16Order::LittleEndian;
        for (; i < size; ++i) {
            if (oddByte < 0) {
                oddByte = bytes[i];
                continue;
            }
            const unsigned lo = little ? static_cast<unsigned>(oddByte) : bytes[i];
            const unsigned hi = little ? bytes[i] : static_cast<unsigned>(oddByte);
            oddByte = -1;
            const char32_t unit = (hi << 8) | lo;
            if (unit == '\r' || unit == '\n')
                counter.Unit(unit);
            else
                counter.Content();
        }
    }
    ::close(fd);
    if (oddByte >= 0) // an odd last byte decodes to U+FFFD, a character like any other
        counter.Content();
    // The byte-order mark counts as no character: a file holding only it is one empty line,
    // which the counter already says.
    facts.LineCount = counter.Lines();
    // The first line decoded as the whole log would be; only its first line is wanted.
    const LogLineList lines = LogLineList::FromBytes(firstLine);
    facts.DateText = LogDateText(lines[0]);
    return facts;
}

} // namespace qla
