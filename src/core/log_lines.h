// The lines of one opened log, decoded to UTF-8 and kept in one buffer. Each line is a view
// into that buffer, so a multi-million-line log costs the file's size plus 16 bytes a line.
#pragma once

#include "byte_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qla {

class LogLineList {
  public:
    LogLineList() = default;

    // Splits raw file bytes into lines and decodes each line on its own: valid UTF-8 stays as it
    // is, anything else is read as Windows-1252. A UTF-8 byte-order mark at the start is dropped;
    // a UTF-16 one (either byte order) has the whole text decoded from UTF-16 first.
    // A line ends at CR, CR LF or LF; a line end at the very end starts no new line. An empty
    // file is one empty line.
    static LogLineList FromBytes(std::string_view bytes);
    // The same on a buffer the file was read into; lines not in UTF-8 are decoded in place.
    // A piece read from inside a file keeps its leading bytes as they are (kFromInside).
    enum class Start : std::uint8_t { kFileStart, kFromInside };
    static LogLineList FromBuffer(ByteBuffer bytes, Start start = Start::kFileStart);

    // Lines given directly (tests, generators); they are taken as UTF-8 without splitting.
    static LogLineList FromLines(const std::vector<std::string>& lines);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(text_.data() + spans_[i].first, spans_[i].second);
    }

  private:
    // Widens the lines listed in `windowsLines` from Windows-1252 to UTF-8 within text_.
    void DecodeWindowsLines(const std::vector<std::size_t>& windowsLines);

    ByteBuffer text_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans_; // offset, length in bytes
};

} // namespace qla
