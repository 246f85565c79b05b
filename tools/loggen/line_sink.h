// Buffered output of finished lines: encoding and line ends are applied here, so the
// composers only ever produce UTF-8 text without terminators.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "options.h"
#include "random.h"

namespace loggen {

class LineSink {
  public:
    // lineEndSeed drives the mixed style; it is separate from the content's random stream so
    // that the same seed gives the same lines whatever the line-end style.
    LineSink(std::ostream& out, Encoding encoding, LineEnds lineEnds, std::uint64_t lineEndSeed);

    void writeLine(std::string_view utf8Line, bool last);

    // Writes what is buffered; false when the stream failed at any point.
    bool finish();

  private:
    std::string_view terminator(bool lineEmpty, bool last);
    void flushIfFull();

    std::ostream& out_;
    Encoding encoding_;
    LineEnds lineEnds_;
    Random lineEndRng_;
    bool previousEndedWithCr_ = false;
    std::string buffer_;
};

} // namespace loggen
