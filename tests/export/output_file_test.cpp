// The writers' output buffer: pieces of every size, some longer than the buffer itself, reach
// the file whole and in order, each line ended by CR LF.
#include "export/output_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace qla {
namespace {

TEST(OutputFileTest, PiecesOfAnySizeArriveWholeAndInOrder) {
    const std::string path = (test::ScratchDir() / "out.txt").string();
    std::string expected;
    {
        OutputFile file;
        ASSERT_TRUE(file.Create(path, std::nullopt));
        std::uint64_t state = 21;
        for (int line = 0; line < 3000; ++line) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            // Mostly short pieces; now and then one of up to 200,000 bytes.
            const std::size_t sizes[] = {(state >> 33) % 20, (state >> 40) % 9,
                                         (state >> 50) % 97 == 0 ? (state >> 20) % 200000 : 3};
            std::string pieces[3];
            for (int p = 0; p < 3; ++p)
                for (std::size_t i = 0; i < sizes[p]; ++i)
                    pieces[p] += static_cast<char>('a' + (line + p + i) % 26);
            if (line % 5 == 0)
                file.Line(pieces[0] + pieces[1] + pieces[2]);
            else
                file.LineOf(pieces[0], pieces[1], pieces[2]);
            expected += pieces[0] + pieces[1] + pieces[2] + "\r\n";
        }
        ASSERT_TRUE(file.Close());
    }
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

} // namespace
} // namespace qla
