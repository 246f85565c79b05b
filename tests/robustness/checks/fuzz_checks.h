// The properties each fuzz target checks on one input. The fuzz targets abort on a non-empty
// answer; the robustness suite replays the seed corpus and every past finding through the same
// functions, so a fixed finding stays fixed in the normal build.
#pragma once

#include <string>
#include <string_view>

namespace qla::robust {

// Reading a log from bytes: line count and contents against a plain reference split, every
// line valid UTF-8 without CR or LF.
std::string LogBytesProblem(std::string_view bytes);

// The analysis of a log: the first byte picks the language, the rest is the file. Checks the
// store's invariants, the progress reports and that a second run gives the same store.
std::string AnalysisProblem(std::string_view input);

// NormalizeName, StripColourCodes, ColourToHtml, IsColourCodeChar and the escaping helpers on
// the input as one text.
std::string NameRoutinesProblem(std::string_view input);

// Every HTML page and the XML export of the store built from the input (first byte: choices,
// second: language, the rest the log), written below `scratchFolder` (which must exist).
std::string WritersProblem(std::string_view input, const std::string& scratchFolder);

} // namespace qla::robust
