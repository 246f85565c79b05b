// libFuzzer target: every HTML page, the whole site and the XML export of a store built from a
// fuzzed log (first two bytes: the export choices and the language).
#include "fuzz_checks.h"
#include "fuzz_support.h"

#include <filesystem>
#include <unistd.h>

namespace {

// One scratch folder per fuzzing process, in memory when the machine offers it.
const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/qla-fuzz-writers-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            qla::fuzz::Require("cannot create a scratch folder under " + base);
        return pattern;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qla::fuzz::Require(qla::robust::WritersProblem(qla::fuzz::Text(data, size), ScratchFolder()));
    return 0;
}
