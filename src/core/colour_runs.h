// Text with colour codes as a reader sees it: runs of visible text, each in one colour. For
// writers that show only what is visible (the classic pages keep a tag for every code).
#pragma once

#include "core/names.h"

#include <string_view>

namespace qla {

// No colour code came before the run.
inline constexpr int kNoColour = -1;

struct ColourRun {
    int Colour = kNoColour; // ColourIndexOf the last code before the run
    std::string_view Text;  // never empty
};

// Calls visit(ColourRun) for each stretch of text between colour codes, in order. A row of codes
// colours what follows with its last code only, and codes with no text after them colour
// nothing, so no run is empty; two runs in a row may have the same colour.
template <class Visit> void ForEachColourRun(std::string_view text, Visit&& visit) {
    int colour = kNoColour;
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '^' || !IsColourCodeChar(text[i + 1]))
            continue;
        if (i > start)
            visit(ColourRun{colour, text.substr(start, i - start)});
        colour = ColourIndexOf(text[i + 1]);
        start = i + 2;
        ++i;
    }
    if (start < text.size())
        visit(ColourRun{colour, text.substr(start)});
}

} // namespace qla
