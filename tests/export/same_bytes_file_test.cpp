// A file compared with the one already there as its pieces come: kept when every byte agrees,
// otherwise written whole, the agreeing beginning read back from the old file.
#include "export/memory_sink.h"
#include "export/same_bytes_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace qla {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    bool Committed = false, Kept = false, Replaced = false;
    std::string Written; // what the new file holds; empty when none was made
};

// Writes `pieces` over a file holding `existing` (none: no such file).
Outcome WriteOver(const std::optional<std::string>& existing,
                  const std::vector<std::string>& pieces) {
    const fs::path path = test::ScratchDir() / "same_bytes_file_test.old";
    fs::remove(path);
    if (existing)
        std::ofstream(path, std::ios::binary) << *existing;
    MemorySink memory;
    Outcome outcome;
    {
        SameBytesFile file(
            OpenToCompare(path.string()), [&] { return memory.Create("new"); },
            [&] { outcome.Kept = true; }, [&] { outcome.Replaced = true; });
        for (const std::string& piece : pieces)
            EXPECT_TRUE(file.Write(piece));
        outcome.Committed = file.Commit(false, WhenNameTaken::Replace);
    }
    outcome.Written = memory.Content("new");
    EXPECT_EQ(outcome.Replaced, memory.Has("new"));
    return outcome;
}

TEST(SameBytesFileTest, KeepsTheOldFileOnlyWhenEveryByteAgrees) {
    const std::string page = "<html>" + std::string(200000, 'x') + "</html>";
    const std::vector<std::string> pieces{page.substr(0, 6), page.substr(6, 150000),
                                          page.substr(150006)};
    const Outcome same = WriteOver(page, pieces);
    EXPECT_TRUE(same.Committed);
    EXPECT_TRUE(same.Kept);
    EXPECT_FALSE(same.Replaced);

    // A difference in the last piece, after 150,006 bytes that agreed: the new file is whole.
    std::string changed = page;
    changed[page.size() - 8] = 'y';
    const Outcome late =
        WriteOver(page, {changed.substr(0, 6), changed.substr(6, 150000), changed.substr(150006)});
    EXPECT_TRUE(late.Committed && late.Replaced && !late.Kept);
    EXPECT_EQ(late.Written, changed);

    // The old file longer, or shorter, than what is written; and no old file at all.
    for (const std::string& old : {page + "more", page.substr(0, 1000)}) {
        const Outcome other = WriteOver(old, pieces);
        EXPECT_TRUE(other.Replaced && !other.Kept) << old.size();
        EXPECT_EQ(other.Written, page) << old.size();
    }
    const Outcome none = WriteOver(std::nullopt, pieces);
    EXPECT_TRUE(none.Replaced && !none.Kept);
    EXPECT_EQ(none.Written, page);
    // An empty file over an empty one is kept; a link or a folder is never compared with.
    EXPECT_TRUE(WriteOver(std::string(), {}).Kept);
    EXPECT_FALSE(OpenToCompare(test::ScratchDir().string()));
}

} // namespace
} // namespace qla
