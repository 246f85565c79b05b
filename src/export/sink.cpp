// What every sink shares: a whole file written through Create, and the file gathered in memory.
#include "export/sink.h"

#include <cerrno>

namespace qla {

bool GatheredFile::Commit(bool durable, WhenNameTaken whenTaken) {
    (void)durable;   // memory has no disk to flush to
    (void)whenTaken; // and a name in it appears only through this commit
    if (Failed())
        return false;
    if (ExportResult handed = put_(std::move(content_)); !handed.Ok())
        Refuse(std::move(handed.Error));
    return !Failed();
}

ExportResult WriteFileInPieces(Sink& sink, const std::string& name,
                               const std::function<bool(SinkFile& file)>& write, bool durable,
                               int stage) {
    const std::unique_ptr<SinkFile> file = sink.Create(name);
    if (!file->Failed() && write(*file) && file->Commit(durable, WhenNameTaken::Replace))
        return {};
    if (!file->Refusal().empty())
        return {file->Refusal()};
    return Failure(file->ErrorNumber() != 0 ? file->ErrorNumber() : EIO, stage);
}

ExportResult WriteWholeFile(Sink& sink, const std::string& name, std::string_view content,
                            bool durable, int stage) {
    return WriteFileInPieces(
        sink, name, [content](SinkFile& file) { return file.Write(content); }, durable, stage);
}

ExportResult PutInPieces(Sink& sink, const std::string& name,
                         const std::function<bool(SinkFile& file)>& write) {
    ExportResult written = WriteFileInPieces(sink, name, write, false);
    if (!written.Ok())
        written.Error = name + ": " + written.Error;
    return written;
}

ExportResult Sink::Put(const std::string& name, std::string_view content) {
    return PutInPieces(*this, name, [content](SinkFile& file) { return file.Write(content); });
}

} // namespace qla
