// Malformed and adversarial lines for robustness tests.
#pragma once

#include <cstddef>
#include <string>

#include "phrases.h"
#include "random.h"

namespace loggen {

// Replaces line with one hostile line: verb phrases with nothing in front of them, cut-off
// chat forms, the other language's phrases, markup, control bytes and invalid UTF-8. Never
// writes CR or LF, so line counts stay exact.
void composeHostileLine(Random& rng, const Phrases& phrases, std::string& line);

// Replaces line with an obituary of exactly `length` bytes, nearly all of it the victim's name.
void composeHugeLine(std::size_t length, std::string& line);

// Replaces line with a kill by "Coder<which>" whose name starts with `codes` colour codes.
void composeCodeRunLine(std::size_t codes, int which, std::string& line);

} // namespace loggen
