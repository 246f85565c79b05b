// The rows a statistics database streams, with the lines no statistic counts that name a hidden
// player shown as the store shows them once hidden (analysis/hidden_players.h).
#pragma once

#include "stats/statistics.h"

#include <string>
#include <vector>

namespace qla::front {

class HidingLines final : public LineSource {
  public:
    HidingLines(const LineSource& lines, std::vector<std::string> hiddenKeys)
        : lines_(lines), hiddenKeys_(std::move(hiddenKeys)) {}
    bool ForEachChat(bool voice, const ChatLineVisitor& visit, std::string& error) const override {
        return lines_.ForEachChat(voice, visit, error);
    }
    std::int64_t UnknownLineCount() const override { return lines_.UnknownLineCount(); }
    std::vector<ChatLogSize> ChatLogs() const override { return lines_.ChatLogs(); }
    bool ForEachChatOfLog(std::size_t log, bool voice, const ChatLineVisitor& visit,
                          std::string& error) const override {
        return lines_.ForEachChatOfLog(log, voice, visit, error);
    }
    std::optional<ChatLogStamp> StampOfChatLog(std::size_t log, bool voice) const override {
        return lines_.StampOfChatLog(log, voice);
    }
    bool ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const override;
    bool FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                           std::string& error) const override;

  private:
    const LineSource& lines_;
    std::vector<std::string> hiddenKeys_;
};

} // namespace qla::front
