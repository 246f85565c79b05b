// Files kept in memory.
#include "export/memory_sink.h"

namespace qla {

namespace {

// Commits into the sink's map; a name taken meanwhile is kept when the writer asks for that.
class MemoryFile final : public SinkFile {
  public:
    MemoryFile(std::map<std::string, std::string>& files, std::string name)
        : files_(files), name_(std::move(name)) {}
    bool Write(std::string_view bytes) override {
        content_ += bytes;
        return true;
    }
    bool Commit(bool durable, WhenNameTaken whenTaken) override {
        (void)durable; // there is no disk to flush to
        if (whenTaken == WhenNameTaken::Keep && files_.contains(name_))
            return true;
        files_[name_] = std::move(content_);
        return true;
    }

  private:
    std::map<std::string, std::string>& files_;
    std::string name_;
    std::string content_;
};

} // namespace

std::unique_ptr<SinkFile> MemorySink::Create(const std::string& name) {
    return std::make_unique<MemoryFile>(files_, name);
}

std::string MemorySink::Content(const std::string& name) const {
    const auto found = files_.find(name);
    return found == files_.end() ? std::string() : found->second;
}

} // namespace qla
