// A file written beside its final name and renamed over it when complete, so the name always
// holds either the old file or the whole new one. A name that is free gets an unnamed file in
// the folder (O_TMPFILE), linked to the name when complete: one change to the folder instead of
// two, and a killed run leaves nothing behind. Either way an interrupted, failed or concurrent
// write never leaves a cut file, and an existing name is never opened for writing. Names that are
// not regular files (a symbolic link, a named pipe, a device, a folder) are refused, not replaced,
// and so is the file the log was read from.
#pragma once

#include "core/file_identity.h"
#include "export/temp_file_cleanup.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qla {

// The process that named a temporary file beside its target (".qla-PID-TICKS-N.tmp", the name a
// file has between being written and being renamed into place); nullopt for any other name.
std::optional<int> TemporaryFileOwner(std::string_view fileName);

// What happens when a file of the name appears while the new one is written.
enum class WhenNameTaken { Replace, Keep };

class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() { Discard(); }

    // Checks the name and creates the temporary file in the same folder. `logFile` is the file
    // that must not be replaced. False with ErrorNumber() or Refusal() set.
    bool Open(const std::string& path, const std::optional<FileIdentity>& logFile);
    // Writes all of `bytes`; false with ErrorNumber() set.
    bool Write(std::string_view bytes);
    // Closes the temporary file and renames it to the name; `durable` first flushes it to the
    // disk. On failure the temporary file is removed and the name keeps what it held.
    bool Commit(bool durable, WhenNameTaken whenTaken = WhenNameTaken::Replace);
    // Removes the temporary file; the name is not touched.
    void Discard();

    bool IsOpen() const { return fd_ >= 0; }
    int ErrorNumber() const { return errorNumber_; }
    // Why the name was not written although nothing failed; empty otherwise.
    const std::string& Refusal() const { return refusal_; }

  private:
    void Fail(int errorNumber);
    // Gives the unnamed file the name (or, when a file of the name appeared, the temporary name
    // it is then renamed from); false with the error set.
    bool LinkUnnamed(WhenNameTaken whenTaken);

    std::string path_;
    std::string tempPath_;
    std::optional<FileIdentity> logFile_;
    std::unique_ptr<ListedTempFile> listed_;
    int fd_ = -1;
    bool unnamed_ = false; // fd_ is an O_TMPFILE file without a name yet
    int errorNumber_ = 0;
    std::string refusal_;
};

// Why `path` may not be replaced by a written file; empty when it may (it is absent or a
// regular file other than `logFile`).
std::string ReplaceRefusal(const std::string& path, const std::optional<FileIdentity>& logFile);

} // namespace qla
