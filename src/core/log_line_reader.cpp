// The streaming line reader. A line's end is searched for from where the last block left off, so
// a long line costs one pass however many blocks it spans; only the unfinished line moves to the
// front of the buffer when the next block is read.
#include "log_line_reader.h"

#include "line_scan.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace qla {

using namespace line_scan;

ReadBytes BytesReader(std::string_view bytes) {
    return [bytes, at = std::size_t{0}](char* into, std::size_t room) mutable -> std::ptrdiff_t {
        const std::size_t n = std::min(room, bytes.size() - at);
        if (n > 0)
            std::memcpy(into, bytes.data() + at, n);
        at += n;
        return static_cast<std::ptrdiff_t>(n);
    };
}

ReadBytes FileRangeReader(int fd, std::uint64_t offset, std::uint64_t length) {
    return [fd, offset, left = length](char* into, std::size_t room) mutable -> std::ptrdiff_t {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
        if (want == 0)
            return 0;
        for (;;) {
            const ssize_t got = ::pread(fd, into, want, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return -1; // an error, or the file shrank while it was read
            offset += static_cast<std::uint64_t>(got);
            left -= static_cast<std::uint64_t>(got);
            return got;
        }
    };
}

LogLineReader::LogLineReader(ReadBytes read, std::size_t blockSize, LogLineList::Start start)
    : read_(std::move(read)), blockSize_(blockSize == 0 ? 1 : blockSize), start_(start) {}

LogLineReader::LogLineReader(ReadBytes read, std::size_t blockSize, LogLineList::Start start,
                             ByteBuffer buffer)
    : LogLineReader(std::move(read), blockSize, start) {
    buffer_ = std::move(buffer);
}

bool LogLineReader::Begin() {
    const bool fileStart = start_ == LogLineList::Start::kFileStart;
    // The two bytes of a UTF-16 mark decide how everything after them is read.
    std::vector<char> block(blockSize_);
    while (fileStart && pending_.size() < 2) {
        const std::ptrdiff_t got = read_(block.data(), block.size());
        if (got < 0) {
            failed_ = true;
            return false;
        }
        if (got == 0)
            break;
        pending_.append(block.data(), static_cast<std::size_t>(got));
        taken_ += static_cast<std::uint64_t>(got);
    }
    if (const Utf16Order order = Utf16OrderOf(pending_); fileStart && order != Utf16Order::None) {
        utf16_.emplace(order);
        pendingAt_ = 2;
    }
    // A UTF-8 mark is looked for in the decoded text, as in a whole-buffer read.
    while (fileStart && end_ < 3 && Refill()) {
    }
    if (failed_)
        return false;
    if (fileStart && end_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0)
        begin_ = scan_ = 3;
    return true;
}

std::size_t LogLineReader::ReadDecoded(char* into, std::size_t room) {
    const auto readRaw = [&](char* to, std::size_t size) -> std::ptrdiff_t {
        if (pendingAt_ < pending_.size()) {
            const std::size_t n = std::min(size, pending_.size() - pendingAt_);
            std::memcpy(to, pending_.data() + pendingAt_, n);
            pendingAt_ += n;
            return static_cast<std::ptrdiff_t>(n);
        }
        const std::ptrdiff_t got = read_(to, size);
        if (got > 0)
            taken_ += static_cast<std::uint64_t>(got);
        return got;
    };
    if (!utf16_) {
        const std::ptrdiff_t got = readRaw(into, room);
        if (got < 0)
            failed_ = true;
        return got < 0 ? 0 : static_cast<std::size_t>(got);
    }
    while (decodedAt_ == decoded_.size()) {
        if (rawAtEnd_)
            return 0;
        decoded_.clear();
        decodedAt_ = 0;
        raw_.resize(blockSize_);
        const std::ptrdiff_t got = readRaw(raw_.data(), raw_.size());
        if (got < 0) {
            failed_ = true;
            return 0;
        }
        if (got == 0) {
            rawAtEnd_ = true;
            utf16_->Finish(decoded_);
        } else {
            utf16_->Decode(std::string_view(raw_.data(), static_cast<std::size_t>(got)), decoded_);
        }
    }
    const std::size_t n = std::min(room, decoded_.size() - decodedAt_);
    std::memcpy(into, decoded_.data() + decodedAt_, n);
    decodedAt_ += n;
    return n;
}

bool LogLineReader::Refill() {
    if (atEnd_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        scan_ -= begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() < end_ + blockSize_)
        buffer_.Resize(end_ + blockSize_);
    const std::size_t got = ReadDecoded(buffer_.data() + end_, blockSize_);
    end_ += got;
    if (got == 0)
        atEnd_ = true;
    return got > 0;
}

std::string_view LogLineReader::Finish(std::size_t end) {
    const std::string_view line(buffer_.data() + begin_, end - begin_);
    ++lines_;
    if (lineValid_)
        return line;
    lineValid_ = true;
    widened_.clear();
    AppendWindows1252AsUtf8(widened_, line);
    return widened_;
}

std::optional<std::string_view> LogLineReader::Next() {
    if (!begun_) {
        begun_ = true;
        if (!Begin())
            return std::nullopt;
    }
    for (;;) {
        if (failed_)
            return std::nullopt;
        if (skipLf_) {
            if (scan_ == end_ && Refill())
                continue;
            skipLf_ = false;
            if (scan_ < end_ && buffer_.data()[scan_] == '\n')
                begin_ = ++scan_;
        }
        const auto* data = reinterpret_cast<const unsigned char*>(buffer_.data());
        while (scan_ < end_) {
            std::size_t looked = 0;
            const std::size_t plain = PlainBytes(data + scan_, end_ - scan_, looked);
            scan_ += plain;
            if (plain == looked && looked > 0)
                continue;
            const unsigned char b = data[scan_];
            if (b == '\n' || b == '\r') {
                skipLf_ = b == '\r';
                const std::string_view line = Finish(scan_);
                begin_ = ++scan_;
                return line;
            }
            if (b < 0x80 || !lineValid_) {
                ++scan_;
                continue;
            }
            if (end_ - scan_ < 4 && !atEnd_)
                break; // the block may end inside this character: judge it with the next one
            const std::size_t len = Utf8SequenceLength(data + scan_, data + end_);
            if (len == 0) {
                lineValid_ = false;
                ++scan_;
            } else {
                scan_ += len;
            }
        }
        if (Refill() || failed_)
            continue;
        if (scan_ < end_)
            continue; // a character held back for the next block, which never came
        // A line end at the very end starts no new line; an empty input is one empty line.
        if (begin_ < end_ || lines_ == 0) {
            const std::string_view line = Finish(end_);
            begin_ = scan_ = end_;
            return line;
        }
        return std::nullopt;
    }
}

} // namespace qla
