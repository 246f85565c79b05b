// Paths as text: the folder of a path and a file's path in a folder, which the atomic writer and
// the folder lock build their temporary and lock files' names from.
#include "export/file_paths.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

TEST(FilePaths, FolderOfPathCutsAfterTheLastSeparator) {
    struct Case {
        std::string_view path, folder;
    } cases[] = {{"/tmp/site/page.html", "/tmp/site/"},
                 {"page.html", ""},
                 {"/page.html", "/"},
                 {"a/b/", "a/b/"},
                 {"a//b", "a//"},
                 {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

TEST(FilePaths, PathInFolderAddsOneSeparator) {
    EXPECT_EQ(PathInFolder("/tmp/site", "index.html"), "/tmp/site/index.html");
    EXPECT_EQ(PathInFolder("/tmp/site/", "index.html"), "/tmp/site/index.html");
    EXPECT_EQ(PathInFolder("", "index.html"), "index.html");
    EXPECT_EQ(PathInFolder("/", ".qla-lock"), "/.qla-lock");
}

TEST(FilePaths, AFileInAFolderIsInThatFolder) {
    // The temporary file beside a page is named from FolderOfPath: the two must agree.
    for (std::string_view folder : {"/tmp/site", "/tmp/site/", "site", "/"}) {
        const std::string path = PathInFolder(folder, "page.html");
        EXPECT_EQ(FolderOfPath(path) + "page.html", path) << folder;
    }
}

} // namespace
} // namespace qla
