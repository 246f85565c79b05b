// What qla watch remembers of the pages it published, from one batch to the next: for each page
// made from hashed inputs (Sink::Keeps), the hash and the stamp of the file it published. A
// page whose inputs hash the same, whose file in the site is still the one published, is neither
// built nor compared again; a file someone touched since is built and compared as usual.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>

namespace qla::cli {

class PageMemory {
  public:
    bool Holds(const std::filesystem::path& site, const std::string& name,
               std::uint64_t inputs) const;
    // After a publish: the pages' input hashes, with the stamps their files in `site` have now.
    void Remember(const std::filesystem::path& site,
                  const std::map<std::string, std::uint64_t>& inputs);
    // After a publish that stopped half-way: nothing published is trusted.
    void Forget() { pages_.clear(); }

    struct Stamp {
        std::uint64_t Device = 0, Inode = 0, Size = 0;
        std::int64_t Modified = 0, Changed = 0; // nanoseconds
        bool operator==(const Stamp&) const = default;
    };

  private:
    struct Page {
        std::uint64_t Inputs = 0;
        Stamp File;
    };
    std::unordered_map<std::string, Page> pages_;
};

} // namespace qla::cli
