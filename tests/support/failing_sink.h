// A sink that fails the way a disk does, for the writers' failure tests: from the start (a file
// that cannot be created), or once a number of bytes has been taken (a disk that fills up). It
// records what the writers did, so a test sees that a failed file was never committed and that a
// long file arrived in pieces.
#pragma once

#include "export/sink.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <set>
#include <string>

namespace qla::test {

class FailingSink final : public Sink {
  public:
    // Every file fails as it is created.
    static FailingSink AtCreation(int errorNumber = ENOSPC) {
        return FailingSink(0, errorNumber, true);
    }
    // Files take `room` bytes in all; the write that would pass it fails, as a full disk's does.
    static FailingSink After(std::size_t room, int errorNumber = ENOSPC) {
        return FailingSink(room, errorNumber, false);
    }

    std::unique_ptr<SinkFile> Create(const std::string& name) override {
        ++created_;
        return std::make_unique<File>(*this, name);
    }
    bool Has(const std::string& name) const override { return committed_.contains(name); }

    // The names of the files committed whole; a failed file must not be among them.
    const std::set<std::string>& Committed() const { return committed_; }
    int FilesCreated() const { return created_; }
    std::size_t BytesTaken() const { return taken_; }
    // The largest single write: a streamed file arrives in pieces of a bounded size.
    std::size_t LargestWrite() const { return largestWrite_; }
    int Writes() const { return writes_; }

  private:
    FailingSink(std::size_t room, int errorNumber, bool atCreation)
        : room_(room), errorNumber_(errorNumber), atCreation_(atCreation) {}

    class File final : public SinkFile {
      public:
        File(FailingSink& sink, std::string name) : sink_(sink), name_(std::move(name)) {
            if (sink_.atCreation_)
                Fail(sink_.errorNumber_);
        }
        bool Write(std::string_view bytes) override {
            if (Failed())
                return false;
            ++sink_.writes_;
            sink_.largestWrite_ = std::max(sink_.largestWrite_, bytes.size());
            if (bytes.size() > sink_.room_ - sink_.taken_) {
                Fail(sink_.errorNumber_);
                return false;
            }
            sink_.taken_ += bytes.size();
            return true;
        }
        bool Commit(bool, WhenNameTaken) override {
            if (Failed())
                return false;
            sink_.committed_.insert(name_);
            return true;
        }

      private:
        FailingSink& sink_;
        std::string name_;
    };

    std::size_t room_;
    int errorNumber_;
    bool atCreation_;
    std::size_t taken_ = 0;
    std::size_t largestWrite_ = 0;
    int writes_ = 0;
    int created_ = 0;
    std::set<std::string> committed_;
};

} // namespace qla::test
