// libFuzzer target: the name and colour-code routines and the escaping helpers.
#include "fuzz_checks.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qla::fuzz::Require(qla::robust::NameRoutinesProblem(qla::fuzz::Text(data, size)));
    return 0;
}
