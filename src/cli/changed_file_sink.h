// The sink qla watch publishes a site through: every file the export makes is compared with the
// file of that name in the live site, and only one that differs (or is new) is written, into the
// staging folder (numbered, side by side: no folders to make), to be moved in by UpdateSite. An
// unchanged page costs a read, not a write; a batch that changes three pages writes three files,
// not the whole site.
#pragma once

#include "cli/page_memory.h"
#include "cli/site_update.h"
#include "export/disk_sinks.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace qla::cli {

class ChangedFileSink : public Sink {
  public:
    // `live`: the site served now, compared with; nullopt writes every file (a first publish).
    // `memory`: the pages published before, kept unbuilt while their inputs are the same.
    ChangedFileSink(std::filesystem::path staged, std::optional<std::filesystem::path> live,
                    const PageMemory* memory)
        : live_(std::move(live)), memory_(memory), folder_(staged.string(), {}) {}

    // Each file, whole (Put) or in pieces, is compared with the live one as its bytes come.
    std::unique_ptr<SinkFile> Create(const std::string& name) override;
    bool RemembersPages() const override { return memory_ != nullptr; }
    bool Keeps(const std::string& name, std::uint64_t inputs) override;

    const StagedFiles& Files() const { return files_; }
    // The input hashes of the pages that came with them, for the memory of the next publish.
    const std::map<std::string, std::uint64_t>& Inputs() const { return inputs_; }

  private:
    std::optional<std::filesystem::path> live_;
    const PageMemory* memory_;
    FolderSink folder_;
    StagedFiles files_;
    std::set<std::string> seen_;
    std::map<std::string, std::uint64_t> inputs_;
    std::map<std::string, std::uint64_t> pending_; // noted by Keeps, for the file made next
};

} // namespace qla::cli
