// Line ends and buffering.
#include "line_sink.h"

#include "text_encoding.h"

namespace loggen {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

} // namespace

LineSink::LineSink(std::ostream& out, Encoding encoding, LineEnds lineEnds,
                   std::uint64_t lineEndSeed)
    : out_(out), encoding_(encoding), lineEnds_(lineEnds), lineEndRng_(lineEndSeed) {
    buffer_.reserve(kFlushSize + 200000);
}

std::string_view LineSink::terminator(bool lineEmpty, bool last) {
    switch (lineEnds_) {
    case LineEnds::CrLf:
        return "\r\n";
    case LineEnds::Lf:
        return "\n";
    case LineEnds::Cr:
        return "\r";
    case LineEnds::Mixed:
        break;
    }
    // Ending the log with CR LF means no reader sees an extra empty line at the end.
    if (last)
        return "\r\n";
    std::uint64_t roll = lineEndRng_.below(3);
    // CR, then an empty line ended by LF, would read as one CR LF: one line instead of two.
    if (roll == 1 && lineEmpty && previousEndedWithCr_)
        roll = 0;
    return roll == 0 ? "\r\n" : roll == 1 ? "\n" : "\r";
}

void LineSink::writeLine(std::string_view utf8Line, bool last) {
    if (encoding_ == Encoding::Windows1252)
        appendWindows1252(utf8Line, buffer_);
    else
        buffer_.append(utf8Line);
    const std::string_view end = terminator(utf8Line.empty(), last);
    buffer_.append(end);
    previousEndedWithCr_ = end == "\r";
    flushIfFull();
}

void LineSink::flushIfFull() {
    if (buffer_.size() >= kFlushSize) {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
}

bool LineSink::finish() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
    out_.flush();
    return static_cast<bool>(out_);
}

} // namespace loggen
