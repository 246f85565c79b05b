// A file written over one that may already hold its bytes, compared piece by piece as it comes:
// a site written again over itself keeps every page that did not change (its time and inode too),
// without the page ever being whole in memory.
#pragma once

#include "core/file_identity.h"
#include "export/sink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

namespace qla {

// The file at `path` opened to compare with, when it is a regular file (not a link) and not
// `logFile`; nullopt when there is no such file.
struct ComparedFile {
    int Descriptor = -1; // owned by the SameBytesFile it is given to
    std::uint64_t Size = 0;
};
std::optional<ComparedFile> OpenToCompare(const std::string& path,
                                          const std::optional<FileIdentity>& logFile = {});

// Reads `size` bytes at `offset` of `fd` (fewer only at the file's end); -1 on an error.
ssize_t ReadAt(int fd, char* into, std::size_t size, std::uint64_t offset);

// While the pieces written agree with `existing`, nothing is written. At the first difference
// `start` makes the new file, which first gets the agreeing beginning read back from `existing`,
// then the rest. A commit with no difference over the whole of `existing` keeps it and calls
// `kept`; otherwise the new file is committed, and `replaced` is called once it is. No existing
// file: every byte goes into the new file.
class SameBytesFile final : public SinkFile {
  public:
    SameBytesFile(std::optional<ComparedFile> existing,
                  std::function<std::unique_ptr<SinkFile>()> start, std::function<void()> kept,
                  std::function<void()> replaced = {});
    ~SameBytesFile() override;
    SameBytesFile(const SameBytesFile&) = delete;
    SameBytesFile& operator=(const SameBytesFile&) = delete;

    bool Write(std::string_view bytes) override;
    bool Commit(bool durable, WhenNameTaken whenTaken) override;

  private:
    // The existing file's next bytes equal `bytes`: read on from where the comparison is.
    bool Agrees(std::string_view bytes);
    // Starts the new file with the `agreed_` bytes of the existing one.
    bool Diverge();
    bool TakeFrom(const SinkFile& file);

    std::optional<ComparedFile> existing_;
    std::function<std::unique_ptr<SinkFile>()> start_;
    std::function<void()> kept_, replaced_;
    std::unique_ptr<SinkFile> written_; // once the bytes differ
    std::uint64_t agreed_ = 0;
};

} // namespace qla
