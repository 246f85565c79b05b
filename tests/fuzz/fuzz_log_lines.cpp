// libFuzzer target: reading a log from bytes.
#include "fuzz_checks.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qla::fuzz::Require(qla::robust::LogBytesProblem(qla::fuzz::Text(data, size)));
    return 0;
}
