// What the writers read. The store holds the totals, the players and their events; the rows of
// the long lists (the chat messages and the lines no statistic counts) come from a LineSource,
// which reads them from the store's lists or streams them from a statistics database's rows, so
// that a writer of those lists holds one row at a time however long the history is. It lives in
// the stats layer so that the database can provide it without knowing the export layer.
#pragma once

#include "core/store.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// A chat message as the writers show it; the texts live until the next message is read.
struct ChatLine {
    PlayerIndex Player = 0;
    std::string_view Location, Text;
    bool IsTeam = false;
};

using ChatLineVisitor = std::function<void(const ChatLine&)>;
using TextLineVisitor = std::function<void(std::string_view)>;

// One log of a source that tells its logs apart: its id and its messages of each kind.
struct ChatLogSize {
    std::int64_t Id = 0;
    std::size_t VoiceChats = 0, TextChats = 0;
};

// What tells whether a log's chats may have changed without reading them: while its rows are
// only added to, their count and the source's count of rewrites; and every player who may
// speak in them.
struct ChatLogStamp {
    std::uint64_t Rows = 0, Rewrites = 0;
    std::vector<PlayerIndex> Speakers;
};

class LineSource {
  public:
    virtual ~LineSource() = default;
    // Each voice (or text) message in order; false with `error` when the rows cannot be read.
    virtual bool ForEachChat(bool voice, const ChatLineVisitor& visit,
                             std::string& error) const = 0;
    // The lines no statistic counts, in order.
    virtual std::int64_t UnknownLineCount() const = 0;
    virtual bool ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const = 0;
    // The first `count` of them (fewer when there are fewer), without reading the rest.
    virtual bool FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                                   std::string& error) const;

    // The source's logs in the order ForEachChat reads them, for a writer that shows each log
    // apart (the site's chat archive); empty when the source does not tell its logs apart.
    virtual std::vector<ChatLogSize> ChatLogs() const { return {}; }
    // Each voice (or text) message of the log ChatLogs()[log] in order.
    virtual bool ForEachChatOfLog(std::size_t log, bool voice, const ChatLineVisitor& visit,
                                  std::string& error) const;
    // The stamp of the log ChatLogs()[log]'s chats of a kind; nullopt when only reading them
    // tells whether they changed.
    virtual std::optional<ChatLogStamp> StampOfChatLog(std::size_t, bool) const {
        return std::nullopt;
    }
};

// The lists an analysis filled into the store.
class StoreLines final : public LineSource {
  public:
    explicit StoreLines(const AnalysisStore& store) : store_(store) {}
    bool ForEachChat(bool voice, const ChatLineVisitor& visit, std::string& error) const override;
    std::int64_t UnknownLineCount() const override;
    bool ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const override;
    bool FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                           std::string& error) const override;

  private:
    const AnalysisStore& store_;
};

struct Statistics {
    const AnalysisStore& Store;
    const LineSource& Lines;
};

} // namespace qla
