// Case folding over UTF-8 for player identity: Unicode's simple case folding (the C and S
// mappings of its case-folding data) for the Latin, Greek and Cyrillic blocks and the fullwidth
// Latin letters, plus "ß" and "ẞ" to "ss" so that a German name matches its capitalised
// spelling. No locale is involved: Turkish dotted and dotless i fold as everywhere else.
#include "core/case_fold.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qla {

namespace {

enum Stride : std::uint8_t { kEach = 1, kEveryOther = 2 };

// Code points First..Last (every one, or every other one from First) fold to themselves plus
// Delta. Sorted by First; the ranges do not overlap. Taken from the Unicode 14 simple case
// folding of the blocks 0000-024F, 0370-052F, 1C80-1C8F, 1E00-1FFF, 2C60-2C7F, 2DE0-2DFF,
// A640-A69F, A720-A7FF, AB70-ABBF and FF21-FF3A.
struct FoldRange {
    char32_t First;
    char32_t Last;
    std::int32_t Delta;
    Stride Step;
};

constexpr FoldRange kFoldRanges[] = {
    {0x0041, 0x005A, 32, kEach},       {0x00B5, 0x00B5, 775, kEach},
    {0x00C0, 0x00D6, 32, kEach},       {0x00D8, 0x00DE, 32, kEach},
    {0x0100, 0x012E, 1, kEveryOther},  {0x0132, 0x0136, 1, kEveryOther},
    {0x0139, 0x0147, 1, kEveryOther},  {0x014A, 0x0176, 1, kEveryOther},
    {0x0178, 0x0178, -121, kEach},     {0x0179, 0x017D, 1, kEveryOther},
    {0x017F, 0x017F, -268, kEach},     {0x0181, 0x0181, 210, kEach},
    {0x0182, 0x0184, 1, kEveryOther},  {0x0186, 0x0186, 206, kEach},
    {0x0187, 0x0187, 1, kEach},        {0x0189, 0x018A, 205, kEach},
    {0x018B, 0x018B, 1, kEach},        {0x018E, 0x018E, 79, kEach},
    {0x018F, 0x018F, 202, kEach},      {0x0190, 0x0190, 203, kEach},
    {0x0191, 0x0191, 1, kEach},        {0x0193, 0x0193, 205, kEach},
    {0x0194, 0x0194, 207, kEach},      {0x0196, 0x0196, 211, kEach},
    {0x0197, 0x0197, 209, kEach},      {0x0198, 0x0198, 1, kEach},
    {0x019C, 0x019C, 211, kEach},      {0x019D, 0x019D, 213, kEach},
    {0x019F, 0x019F, 214, kEach},      {0x01A0, 0x01A4, 1, kEveryOther},
    {0x01A6, 0x01A6, 218, kEach},      {0x01A7, 0x01A7, 1, kEach},
    {0x01A9, 0x01A9, 218, kEach},      {0x01AC, 0x01AC, 1, kEach},
    {0x01AE, 0x01AE, 218, kEach},      {0x01AF, 0x01AF, 1, kEach},
    {0x01B1, 0x01B2, 217, kEach},      {0x01B3, 0x01B5, 1, kEveryOther},
    {0x01B7, 0x01B7, 219, kEach},      {0x01B8, 0x01B8, 1, kEach},
    {0x01BC, 0x01BC, 1, kEach},        {0x01C4, 0x01C4, 2, kEach},
    {0x01C5, 0x01C5, 1, kEach},        {0x01C7, 0x01C7, 2, kEach},
    {0x01C8, 0x01C8, 1, kEach},        {0x01CA, 0x01CA, 2, kEach},
    {0x01CB, 0x01DB, 1, kEveryOther},  {0x01DE, 0x01EE, 1, kEveryOther},
    {0x01F1, 0x01F1, 2, kEach},        {0x01F2, 0x01F4, 1, kEveryOther},
    {0x01F6, 0x01F6, -97, kEach},      {0x01F7, 0x01F7, -56, kEach},
    {0x01F8, 0x021E, 1, kEveryOther},  {0x0220, 0x0220, -130, kEach},
    {0x0222, 0x0232, 1, kEveryOther},  {0x023A, 0x023A, 10795, kEach},
    {0x023B, 0x023B, 1, kEach},        {0x023D, 0x023D, -163, kEach},
    {0x023E, 0x023E, 10792, kEach},    {0x0241, 0x0241, 1, kEach},
    {0x0243, 0x0243, -195, kEach},     {0x0244, 0x0244, 69, kEach},
    {0x0245, 0x0245, 71, kEach},       {0x0246, 0x024E, 1, kEveryOther},
    {0x0370, 0x0372, 1, kEveryOther},  {0x0376, 0x0376, 1, kEach},
    {0x037F, 0x037F, 116, kEach},      {0x0386, 0x0386, 38, kEach},
    {0x0388, 0x038A, 37, kEach},       {0x038C, 0x038C, 64, kEach},
    {0x038E, 0x038F, 63, kEach},       {0x0391, 0x03A1, 32, kEach},
    {0x03A3, 0x03AB, 32, kEach},       {0x03C2, 0x03C2, 1, kEach},
    {0x03CF, 0x03CF, 8, kEach},        {0x03D0, 0x03D0, -30, kEach},
    {0x03D1, 0x03D1, -25, kEach},      {0x03D5, 0x03D5, -15, kEach},
    {0x03D6, 0x03D6, -22, kEach},      {0x03D8, 0x03EE, 1, kEveryOther},
    {0x03F0, 0x03F0, -54, kEach},      {0x03F1, 0x03F1, -48, kEach},
    {0x03F4, 0x03F4, -60, kEach},      {0x03F5, 0x03F5, -64, kEach},
    {0x03F7, 0x03F7, 1, kEach},        {0x03F9, 0x03F9, -7, kEach},
    {0x03FA, 0x03FA, 1, kEach},        {0x03FD, 0x03FF, -130, kEach},
    {0x0400, 0x040F, 80, kEach},       {0x0410, 0x042F, 32, kEach},
    {0x0460, 0x0480, 1, kEveryOther},  {0x048A, 0x04BE, 1, kEveryOther},
    {0x04C0, 0x04C0, 15, kEach},       {0x04C1, 0x04CD, 1, kEveryOther},
    {0x04D0, 0x052E, 1, kEveryOther},  {0x1C80, 0x1C80, -6222, kEach},
    {0x1C81, 0x1C81, -6221, kEach},    {0x1C82, 0x1C82, -6212, kEach},
    {0x1C83, 0x1C84, -6210, kEach},    {0x1C85, 0x1C85, -6211, kEach},
    {0x1C86, 0x1C86, -6204, kEach},    {0x1C87, 0x1C87, -6180, kEach},
    {0x1C88, 0x1C88, 35267, kEach},    {0x1E00, 0x1E94, 1, kEveryOther},
    {0x1E9B, 0x1E9B, -58, kEach},      {0x1E9E, 0x1E9E, -7615, kEach},
    {0x1EA0, 0x1EFE, 1, kEveryOther},  {0x1F08, 0x1F0F, -8, kEach},
    {0x1F18, 0x1F1D, -8, kEach},       {0x1F28, 0x1F2F, -8, kEach},
    {0x1F38, 0x1F3F, -8, kEach},       {0x1F48, 0x1F4D, -8, kEach},
    {0x1F59, 0x1F5F, -8, kEveryOther}, {0x1F68, 0x1F6F, -8, kEach},
    {0x1F88, 0x1F8F, -8, kEach},       {0x1F98, 0x1F9F, -8, kEach},
    {0x1FA8, 0x1FAF, -8, kEach},       {0x1FB8, 0x1FB9, -8, kEach},
    {0x1FBA, 0x1FBB, -74, kEach},      {0x1FBC, 0x1FBC, -9, kEach},
    {0x1FBE, 0x1FBE, -7173, kEach},    {0x1FC8, 0x1FCB, -86, kEach},
    {0x1FCC, 0x1FCC, -9, kEach},       {0x1FD8, 0x1FD9, -8, kEach},
    {0x1FDA, 0x1FDB, -100, kEach},     {0x1FE8, 0x1FE9, -8, kEach},
    {0x1FEA, 0x1FEB, -112, kEach},     {0x1FEC, 0x1FEC, -7, kEach},
    {0x1FF8, 0x1FF9, -128, kEach},     {0x1FFA, 0x1FFB, -126, kEach},
    {0x1FFC, 0x1FFC, -9, kEach},       {0x2C60, 0x2C60, 1, kEach},
    {0x2C62, 0x2C62, -10743, kEach},   {0x2C63, 0x2C63, -3814, kEach},
    {0x2C64, 0x2C64, -10727, kEach},   {0x2C67, 0x2C6B, 1, kEveryOther},
    {0x2C6D, 0x2C6D, -10780, kEach},   {0x2C6E, 0x2C6E, -10749, kEach},
    {0x2C6F, 0x2C6F, -10783, kEach},   {0x2C70, 0x2C70, -10782, kEach},
    {0x2C72, 0x2C72, 1, kEach},        {0x2C75, 0x2C75, 1, kEach},
    {0x2C7E, 0x2C7F, -10815, kEach},   {0xA640, 0xA66C, 1, kEveryOther},
    {0xA680, 0xA69A, 1, kEveryOther},  {0xA722, 0xA72E, 1, kEveryOther},
    {0xA732, 0xA76E, 1, kEveryOther},  {0xA779, 0xA77B, 1, kEveryOther},
    {0xA77D, 0xA77D, -35332, kEach},   {0xA77E, 0xA786, 1, kEveryOther},
    {0xA78B, 0xA78B, 1, kEach},        {0xA78D, 0xA78D, -42280, kEach},
    {0xA790, 0xA792, 1, kEveryOther},  {0xA796, 0xA7A8, 1, kEveryOther},
    {0xA7AA, 0xA7AA, -42308, kEach},   {0xA7AB, 0xA7AB, -42319, kEach},
    {0xA7AC, 0xA7AC, -42315, kEach},   {0xA7AD, 0xA7AD, -42305, kEach},
    {0xA7AE, 0xA7AE, -42308, kEach},   {0xA7B0, 0xA7B0, -42258, kEach},
    {0xA7B1, 0xA7B1, -42282, kEach},   {0xA7B2, 0xA7B2, -42261, kEach},
    {0xA7B3, 0xA7B3, 928, kEach},      {0xA7B4, 0xA7C2, 1, kEveryOther},
    {0xA7C4, 0xA7C4, -48, kEach},      {0xA7C5, 0xA7C5, -42307, kEach},
    {0xA7C6, 0xA7C6, -35384, kEach},   {0xA7C7, 0xA7C9, 1, kEveryOther},
    {0xA7D0, 0xA7D0, 1, kEach},        {0xA7D6, 0xA7D8, 1, kEveryOther},
    {0xA7F5, 0xA7F5, 1, kEach},        {0xAB70, 0xABBF, -38864, kEach},
    {0xFF21, 0xFF3A, 32, kEach},
};

constexpr bool SortedAndApart() {
    for (std::size_t i = 1; i < std::size(kFoldRanges); ++i)
        if (kFoldRanges[i].First <= kFoldRanges[i - 1].Last)
            return false;
    return true;
}
static_assert(SortedAndApart(), "the fold table must be sorted and free of overlaps");

constexpr char32_t kSharpS = 0x00DF;

char32_t FoldOne(char32_t cp) {
    const auto* range =
        std::upper_bound(std::begin(kFoldRanges), std::end(kFoldRanges), cp,
                         [](char32_t value, const FoldRange& r) { return value < r.First; });
    if (range == std::begin(kFoldRanges))
        return cp;
    --range;
    if (cp > range->Last || (cp - range->First) % range->Step != 0)
        return cp;
    return static_cast<char32_t>(static_cast<std::int32_t>(cp) + range->Delta);
}

// Decodes one UTF-8 sequence at `at`; returns its length, or 0 when it is not valid UTF-8.
std::size_t DecodeAt(std::string_view text, std::size_t at, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + k]);
        if ((byte & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

char32_t FoldCodePoint(char32_t codePoint) {
    return FoldOne(codePoint);
}

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeAt(text, i, cp);
        if (length == 0) { // not UTF-8: the byte is kept as it is
            out.push_back(c);
            ++i;
            continue;
        }
        const char32_t folded = FoldOne(cp);
        if (folded == kSharpS)
            out += "ss";
        else
            AppendCodePoint(out, folded);
        i += length;
    }
    return out;
}

} // namespace qla
