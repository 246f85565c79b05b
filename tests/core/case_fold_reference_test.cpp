// FoldCodePoint against Qt's simple case folding over the Latin, Greek and Cyrillic blocks: the
// table is compressed into ranges by hand, and a range one off would show here.
#include "core/case_fold.h"

#include <QChar>
#include <QString>

#include <gtest/gtest.h>

namespace qla {
namespace {

TEST(CaseFoldReference, EveryCodePointOfTheFoldedBlocksFoldsAsQtFoldsIt) {
    const char32_t blocks[][2] = {
        {0x0000, 0x024F}, {0x0370, 0x052F}, {0x1C80, 0x1C8F}, {0x1E00, 0x1FFF}, {0x2C60, 0x2C7F},
        {0x2DE0, 0x2DFF}, {0xA640, 0xA69F}, {0xA720, 0xA7FF}, {0xAB70, 0xABBF}, {0xFF00, 0xFF5F}};
    int folded = 0;
    for (const auto& block : blocks) {
        for (char32_t cp = block[0]; cp <= block[1]; ++cp) {
            const char32_t expected = QChar::toCaseFolded(cp);
            EXPECT_EQ(FoldCodePoint(cp), expected) << std::hex << "U+" << static_cast<unsigned>(cp);
            folded += expected != cp ? 1 : 0;
        }
    }
    EXPECT_GT(folded, 800); // the blocks really hold the letters that fold
    // Outside the folded blocks nothing changes, whatever Qt does there (Armenian, Georgian).
    EXPECT_EQ(FoldCodePoint(0x0531), char32_t{0x0531});
    EXPECT_EQ(FoldCodePoint(0x10A0), char32_t{0x10A0});
}

TEST(CaseFoldReference, FoldCaseOfWholeTextsMatchesQtApartFromSharpS) {
    for (const char* text : {"Grüße AUS Köln", "ΟΔΥΣΣΕΥΣ", "Съешь ЕЩЁ", "ĲsselMEER", "ǅemal"}) {
        const std::string expected = QString::fromUtf8(text)
                                         .toCaseFolded()
                                         .replace(QChar(0xDF), QStringLiteral("ss"))
                                         .toStdString();
        EXPECT_EQ(FoldCase(text), expected) << text;
    }
}

} // namespace
} // namespace qla
