// Comparing each new file with the live site's before writing it.
#include "cli/changed_file_sink.h"

#include "export/same_bytes_file.h"
#include "export/site_marker.h"

namespace qla::cli {

namespace {

// A file the sink will not take under its name.
class RefusedFile final : public SinkFile {
  public:
    explicit RefusedFile(std::string refusal) { Refuse(std::move(refusal)); }
    bool Write(std::string_view) override { return false; }
    bool Commit(bool, WhenNameTaken) override { return false; }
};

} // namespace

std::unique_ptr<SinkFile> ChangedFileSink::Create(const std::string& name) {
    // A name the marker could not list, or given twice, would leave the site unlike its list.
    if (!IsSiteFileName(name) || !seen_.insert(name).second)
        return std::make_unique<RefusedFile>("not a name a site's file may have");
    files_.Wanted.push_back(name);
    if (const auto noted = pending_.find(name); noted != pending_.end()) {
        inputs_[name] = noted->second;
        pending_.erase(noted);
    }
    // Compared with the live file as it comes: an unchanged page is read, never held whole.
    std::optional<ComparedFile> live;
    if (live_)
        live = OpenToCompare((*live_ / name).string());
    const std::string staged =
        live_ ? "changed-" + std::to_string(files_.Changed.size() + 1) : name;
    return std::make_unique<SameBytesFile>(
        live, [this, staged] { return folder_.Create(staged); }, [this] { ++files_.Unchanged; },
        [this, name, staged] {
            files_.Changed.push_back(name);
            if (live_)
                files_.StagedAs.emplace(name, staged);
        });
}

bool ChangedFileSink::Keeps(const std::string& name, std::uint64_t inputs) {
    if (live_ && memory_ && memory_->Holds(*live_, name, inputs) && IsSiteFileName(name) &&
        seen_.insert(name).second) {
        files_.Wanted.push_back(name);
        ++files_.Unchanged;
        inputs_[name] = inputs;
        return true;
    }
    pending_[name] = inputs;
    return false;
}

} // namespace qla::cli
