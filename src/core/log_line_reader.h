// Reading a log line by line in blocks of a fixed size, so that a log of any size is decoded in
// a small, reused buffer. The lines and their decoding are exactly those of
// LogLineList::FromBytes on the whole input, wherever the block ends fall.
#pragma once

#include "byte_buffer.h"
#include "log_lines.h"
#include "utf16_log.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// Fills `into` with up to `room` next bytes of the input; returns how many, 0 at its end and
// a negative number when it cannot be read.
using ReadBytes = std::function<std::ptrdiff_t(char* into, std::size_t room)>;

// Reads from bytes held in memory.
ReadBytes BytesReader(std::string_view bytes);
// Reads `length` bytes of the open file `fd` from `offset` on (pread: several readers may share
// one descriptor). Fewer bytes than asked for mean the file shrank: a read error.
ReadBytes FileRangeReader(int fd, std::uint64_t offset, std::uint64_t length);

inline constexpr std::size_t kDefaultLineBlock = 256 * 1024;

class LogLineReader {
  public:
    // `start` as for LogLineList::FromBuffer: only at the file's start is a byte-order mark
    // looked for.
    explicit LogLineReader(ReadBytes read, std::size_t blockSize = kDefaultLineBlock,
                           LogLineList::Start start = LogLineList::Start::kFileStart);
    // The same, reading into `buffer` (whatever it holds), which TakeBuffer hands back: a run
    // of many ranges reuses a few buffers instead of mapping fresh pages for every range.
    LogLineReader(ReadBytes read, std::size_t blockSize, LogLineList::Start start,
                  ByteBuffer buffer);

    // Hands the buffer on to the next reader; this one reads no more after it.
    ByteBuffer TakeBuffer() { return std::move(buffer_); }

    // The next line, valid until the next call; nullopt after the last line or on a read error.
    std::optional<std::string_view> Next();

    bool Failed() const { return failed_; }
    std::uint64_t LinesRead() const { return lines_; }
    // Bytes taken from the input so far (before decoding), for showing progress.
    std::uint64_t BytesTaken() const { return taken_; }

  private:
    bool Begin();
    // Reads one more block after the unfinished line; false at the end of the input.
    bool Refill();
    std::size_t ReadDecoded(char* into, std::size_t room);
    std::string_view Finish(std::size_t end);

    ReadBytes read_;
    std::size_t blockSize_;
    LogLineList::Start start_;
    bool begun_ = false;
    bool failed_ = false;
    bool atEnd_ = false;
    std::uint64_t lines_ = 0;
    std::uint64_t taken_ = 0;

    // Decoded bytes: [begin_, end_) is the unfinished line and what follows it; scan_ is where
    // the search for its end goes on.
    // A mapping of its own, returned whole when the reader ends (or handed on): a reader lives
    // for one range of a log, and a freed heap block would leave a hole that the store's texts
    // fill.
    ByteBuffer buffer_;
    std::size_t begin_ = 0, scan_ = 0, end_ = 0;
    bool lineValid_ = true; // the unfinished line is UTF-8 so far
    bool skipLf_ = false;   // the last line ended in CR: an LF next belongs to it
    std::string widened_;   // a Windows-1252 line in UTF-8

    // Raw bytes read before the input's kind was known, handed out first.
    std::string pending_;
    std::size_t pendingAt_ = 0;
    std::optional<Utf16PieceDecoder> utf16_;
    std::string raw_;     // a raw UTF-16 block
    std::string decoded_; // its UTF-8, handed out from decodedAt_
    std::size_t decodedAt_ = 0;
    bool rawAtEnd_ = false;
};

} // namespace qla
