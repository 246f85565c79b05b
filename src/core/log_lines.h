// The lines of one opened log, decoded to UTF-8 and kept in one buffer. Each line is a view
// into that buffer, so a multi-million-line log costs the file's size plus 16 bytes a line.
#pragma once

#include "byte_buffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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

    std::size_t size() const { return body_ ? body_->Spans.size() : 0; }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(body_->Text.data() + body_->Spans[i].first, body_->Spans[i].second);
    }

  private:
    // The lines never change once read: a copy of the list shares them (a reading beside the
    // window's, on a thread of its own, keeps them however the window's store changes).
    struct Body {
        ByteBuffer Text;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> Spans; // offset, length in bytes
        // Widens the lines listed in `windowsLines` from Windows-1252 to UTF-8 within Text.
        void DecodeWindowsLines(const std::vector<std::size_t>& windowsLines);
    };
    explicit LogLineList(std::shared_ptr<const Body> body) : body_(std::move(body)) {}

    std::shared_ptr<const Body> body_;
};

} // namespace qla
