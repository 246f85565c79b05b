// Logs saved as UTF-16 (recognised by their byte-order mark) are turned into UTF-8 before the
// lines are split, so they are analysed exactly like the same log saved as UTF-8.
#pragma once

#include "byte_buffer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qla {

enum class Utf16Order { None, LittleEndian, BigEndian };

// The byte order a leading FF FE or FE FF announces; None for anything else.
Utf16Order Utf16OrderOf(std::string_view leadingBytes);

// The UTF-8 form of the UTF-16 text after the two-byte mark. A lone surrogate and an odd last
// byte become U+FFFD, so every input decodes to valid UTF-8.
ByteBuffer DecodeUtf16(std::string_view bytes, Utf16Order order);

// The same for code units from inside such a log, with no mark before them.
ByteBuffer DecodeUtf16Units(std::string_view units, Utf16Order order);

// Length of the longest start of `units` made of whole lines only, as for UTF-8 bytes: a CR as
// the last unit waits for its LF, and an odd last byte is half a unit still being written.
std::size_t CompleteUtf16LinesLength(std::string_view units, Utf16Order order);

// The same decoding for a log read in pieces: a unit or a surrogate pair split between two
// pieces decodes as if the pieces were one. Feed the bytes after the mark, then Finish.
class Utf16PieceDecoder {
  public:
    explicit Utf16PieceDecoder(Utf16Order order) : little_(order != Utf16Order::BigEndian) {}

    // Appends the UTF-8 of the units completed by `bytes` to `out`.
    void Decode(std::string_view bytes, std::string& out);
    // Appends what a high surrogate or an odd byte left waiting at the end decodes to.
    void Finish(std::string& out);

  private:
    void Unit(char32_t unit, std::string& out);

    bool little_;
    int oddByte_ = -1;      // the first byte of a unit whose second is still to come
    char32_t highUnit_ = 0; // a high surrogate waiting for its low half; 0 when none
};

} // namespace qla
