// Control characters on their way to a terminal (visible escapes) and to an export (U+FFFD).
#include "core/control_chars.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(ControlChars, TerminalSeesEscapesInsteadOfCommands) {
    // A title change, a bell, a clear screen: each control byte becomes four visible ones.
    EXPECT_EQ(TerminalSafeText("\x1B]0;owned\x07name"), "\\x1b]0;owned\\x07name");
    EXPECT_EQ(TerminalSafeText(std::string("a\0b\r\n\x7F", 6)), "a\\x00b\\x0d\\x0a\\x7f");
    // U+009B (CSI in UTF-8) is a C1 control; U+00A0 and the Euro sign are not.
    EXPECT_EQ(TerminalSafeText("\xC2\x9B"
                               "2J \xC2\xA0\xE2\x82\xAC"),
              "\\u009b2J \xC2\xA0\xE2\x82\xAC");
    // Tabs, backslashes and ordinary text stay as they are, so clean output is unchanged.
    EXPECT_EQ(TerminalSafeText("^1Bob\tC:\\x"), "^1Bob\tC:\\x");
    EXPECT_EQ(TerminalSafeText("\xC2"), "\xC2");
}

TEST(ControlChars, ExportsReplaceC0ControlsOtherThanTab) {
    EXPECT_EQ(ReplaceControlChars(std::string("a\0b\x1B[2J\tc\x7F", 10)),
              "a" + kFffd + "b" + kFffd + "[2J\tc\x7F");
    std::string scratch;
    const std::string clean = "no controls here";
    EXPECT_EQ(WithoutControlChars(clean, scratch).data(), clean.data()); // no copy
    EXPECT_EQ(WithoutControlChars("x\x01", scratch), "x" + kFffd);
}

} // namespace
} // namespace qla
