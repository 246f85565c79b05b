// Temporary files (and the Export All lock file) that a signal must not leave behind. An
// interrupted program cannot run its destructors, so the files being written are listed where a
// signal handler can reach them: the one piece of process-wide state of the exporters, a fixed
// table that needs no allocation.
#pragma once

namespace qla {

// A listed temporary file; unlisted when it goes out of scope. Listing fails quietly when the
// table is full or the path too long: the file is then only removed on the normal paths.
class ListedTempFile {
  public:
    explicit ListedTempFile(const char* path);
    ~ListedTempFile();
    ListedTempFile(const ListedTempFile&) = delete;
    ListedTempFile& operator=(const ListedTempFile&) = delete;

  private:
    int slot_ = -1;
};

// SIGINT, SIGTERM and SIGHUP remove the listed files and then end the program as the signal
// would have; a signal the program was started ignoring stays ignored. SIGXFSZ is ignored, so a
// file-size limit fails the write ("File too large") instead of killing the program mid-file.
void RemoveTempFilesOnSignals();

} // namespace qla
