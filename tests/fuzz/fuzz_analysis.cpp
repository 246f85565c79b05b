// libFuzzer target: the whole analysis of a fuzzed log, in the language of the first byte.
#include "fuzz_checks.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qla::fuzz::Require(qla::robust::AnalysisProblem(qla::fuzz::Text(data, size)));
    return 0;
}
