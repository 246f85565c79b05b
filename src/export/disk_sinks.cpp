// Files and folders on disk as sinks.
#include "export/disk_sinks.h"

#include "export/file_paths.h"
#include "export/output_file.h" // PathExists
#include "export/same_bytes_file.h"

#include <algorithm>
#include <filesystem>

namespace qla {
namespace {

class DiskFile final : public SinkFile {
  public:
    DiskFile(const std::string& path, const std::optional<FileIdentity>& logFile) {
        if (file_.Open(path, logFile))
            return;
        TakeError();
    }
    // A file whose folder could not be made.
    explicit DiskFile(int errorNumber) { Fail(errorNumber); }

    bool Write(std::string_view bytes) override {
        if (Failed() || !file_.IsOpen())
            return false;
        if (!file_.Write(bytes))
            TakeError();
        return !Failed();
    }
    bool Commit(bool durable, WhenNameTaken whenTaken) override {
        if (Failed() || !file_.IsOpen()) {
            file_.Discard();
            return false;
        }
        if (!file_.Commit(durable, whenTaken))
            TakeError();
        return !Failed();
    }

  private:
    void TakeError() {
        if (!file_.Refusal().empty())
            Refuse(file_.Refusal());
        else
            Fail(file_.ErrorNumber());
    }

    AtomicFile file_; // discards its temporary file unless committed
};

} // namespace

std::unique_ptr<SinkFile> CreateDiskFile(const std::string& path,
                                         const std::optional<FileIdentity>& logFile) {
    return std::make_unique<DiskFile>(path, logFile);
}

std::string PathSink::PathOf(const std::string& name) const {
    return name.empty() ? path_ : FolderOfPath(path_) + name;
}

std::unique_ptr<SinkFile> PathSink::Create(const std::string& name) {
    return CreateDiskFile(PathOf(name), logFile_);
}

bool PathSink::Has(const std::string& name) const {
    return PathExists(PathOf(name));
}

std::unique_ptr<SinkFile> FolderSink::Create(const std::string& name) {
    placed_.insert(name);
    const std::string path = folder_ + "/" + name;
    // A page is compared with the earlier export's as its bytes come, whole or in pieces.
    if (std::binary_search(keepable_.begin(), keepable_.end(), name))
        if (auto existing = OpenToCompare(path, logFile_))
            return std::make_unique<SameBytesFile>(
                existing, [this, name] { return CreateInFolder(name); }, nullptr);
    return CreateInFolder(name);
}

std::unique_ptr<SinkFile> FolderSink::CreateInFolder(const std::string& name) {
    const std::string path = folder_ + "/" + name;
    const std::string_view parent = std::string_view(path).substr(0, path.find_last_of('/'));
    if (parent != madeFolder_) {
        std::error_code made;
        std::filesystem::create_directories(std::filesystem::path(parent), made);
        if (made)
            return std::make_unique<DiskFile>(made.value());
        madeFolder_ = parent;
    }
    return CreateDiskFile(path, logFile_);
}

bool FolderSink::Has(const std::string& name) const {
    return PathExists(PathInFolder(folder_, name));
}

} // namespace qla
