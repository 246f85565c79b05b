// Shared pieces of the I/O-failure tests.
#include "io_test_support.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace qla::robust {

const std::string kSmallLog = "logfile opened on Mon Dec 07 04:32:33 2026\r\n"
                              "[skipnotify]Bob was killed by Al's MP40\r\n"
                              "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al\r\n"
                              "[skipnotify]^1Carl^7: ^2hello <there>\r\n"
                              "loading map\r\n";

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string BinaryBytes(std::size_t size) {
    std::mt19937_64 random(20090314);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::size_t LineCountOf(std::string_view bytes) {
    std::size_t lines = 1;
    bool endsWithCr = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            endsWithCr = bytes[i] == '\r';
            if (endsWithCr && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++lines;
            endsWithCr = endsWithCr && i + 1 == bytes.size();
        }
    }
    return endsWithCr ? lines - 1 : lines;
}

std::vector<std::string> SiteFiles(int players) {
    std::vector<std::string> files{"style.css"};
    files.push_back("index.html");
    for (int i = 2; i <= 5; ++i)
        files.push_back("index" + std::to_string(i) + ".html");
    for (int i = 1; i <= players; ++i) {
        char stem[32];
        std::snprintf(stem, sizeof stem, "player%03d", i);
        files.push_back(std::string(stem) + "a.html");
        files.push_back(std::string(stem) + "b.html");
    }
    for (int i = 1; i <= 5; ++i)
        files.push_back("weapon" + std::to_string(i) + ".html");
    return files;
}

bool IsCompletePage(const std::string& page) {
    return page.starts_with("<html>") && page.ends_with("</body></html>\r\n");
}

} // namespace qla::robust
