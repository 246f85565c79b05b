// Remembering published pages by their inputs and their files' stamps.
#include "cli/page_memory.h"

#include <optional>
#include <sys/stat.h>

namespace qla::cli {

namespace {

std::optional<PageMemory::Stamp> StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const auto nanoseconds = [](const timespec& at) {
        return static_cast<std::int64_t>(at.tv_sec) * 1000000000 + at.tv_nsec;
    };
    return PageMemory::Stamp{static_cast<std::uint64_t>(info.st_dev),
                             static_cast<std::uint64_t>(info.st_ino),
                             static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim),
                             nanoseconds(info.st_ctim)};
}

} // namespace

bool PageMemory::Holds(const std::filesystem::path& site, const std::string& name,
                       std::uint64_t inputs) const {
    const auto page = pages_.find(name);
    if (page == pages_.end() || page->second.Inputs != inputs)
        return false;
    const auto now = StampOf(site / name);
    return now && *now == page->second.File;
}

void PageMemory::Remember(const std::filesystem::path& site,
                          const std::map<std::string, std::uint64_t>& inputs) {
    pages_.clear();
    for (const auto& [name, hash] : inputs)
        if (const auto stamp = StampOf(site / name))
            pages_[name] = Page{hash, *stamp};
}

} // namespace qla::cli
