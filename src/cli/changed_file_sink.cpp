// Comparing each new file with the live site's before writing it.
#include "cli/changed_file_sink.h"

#include "export/same_bytes_file.h"
#include "export/site_marker.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qla::cli {

namespace {

// A file the sink will not take under its name.
class RefusedFile final : public SinkFile {
  public:
    explicit RefusedFile(std::string refusal) { Refuse(std::move(refusal)); }
    bool Write(std::string_view) override { return false; }
    bool Commit(bool, WhenNameTaken) override { return false; }
};

// True when `path` is a regular file (not a link) holding exactly `content`.
bool HoldsExactly(const std::filesystem::path& path, std::string_view content) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) != content.size())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    static constexpr std::size_t kBlock = 1 << 16;
    char block[kBlock];
    std::size_t at = 0;
    bool same = true;
    while (same) {
        const ssize_t got = ::read(fd, block, kBlock);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            same = got == 0 && at == content.size();
            break;
        }
        const auto n = static_cast<std::size_t>(got);
        same = at + n <= content.size() && std::memcmp(block, content.data() + at, n) == 0;
        at += n;
    }
    ::close(fd);
    return same;
}

} // namespace

ExportResult ChangedFileSink::Put(const std::string& name, std::string_view content) {
    // A name the marker could not list, or given twice, would leave the site unlike its list.
    if (!IsSiteFileName(name) || !seen_.insert(name).second)
        return {name + ": not a name a site's file may have"};
    files_.Wanted.push_back(name);
    if (const auto noted = pending_.find(name); noted != pending_.end()) {
        inputs_[name] = noted->second;
        pending_.erase(noted);
    }
    if (live_ && HoldsExactly(*live_ / name, content)) {
        ++files_.Unchanged;
        return {};
    }
    // Beside the live site, changed files are staged side by side under numbers.
    const std::string staged =
        live_ ? "changed-" + std::to_string(files_.Changed.size() + 1) : name;
    ExportResult written = folder_.Put(staged, content);
    if (written.Ok()) {
        files_.Changed.push_back(name);
        if (live_)
            files_.StagedAs.emplace(name, staged);
    }
    return written;
}

std::unique_ptr<SinkFile> ChangedFileSink::Create(const std::string& name) {
    if (!IsSiteFileName(name) || !seen_.insert(name).second)
        return std::make_unique<RefusedFile>(name + ": not a name a site's file may have");
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
