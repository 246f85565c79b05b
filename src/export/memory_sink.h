// A sink that keeps its files in memory, by name: for callers that want the bytes rather than a
// file (tests, previews). A file appears only once committed; a later one of the same name
// replaces it, unless the writer asked to keep a name that is taken.
#pragma once

#include "export/sink.h"

#include <map>
#include <string>

namespace qla {

class MemorySink final : public Sink {
  public:
    std::unique_ptr<SinkFile> Create(const std::string& name) override;
    bool Has(const std::string& name) const override { return files_.contains(name); }

    // Every committed file by name; the own file of a single-file writer is kOwnFile ("").
    const std::map<std::string, std::string>& Files() const { return files_; }
    // The file's bytes; empty when there is none of that name.
    std::string Content(const std::string& name = kOwnFile) const;

  private:
    std::map<std::string, std::string> files_;
};

} // namespace qla
