// The statistics site's chat archive: one page per log and kind (voice, text) holding all of that
// log's messages of the kind, which the site's script pages and searches inside the page, so that
// a long history adds pages of its own size and no search file grows with it. The archive's index
// pages (voice.html, text.html) list the logs in date order.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/site_layout.h"
#include "stats/statistics.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qla {

// A log of the archive: its messages are [VoiceBegin, VoiceEnd) of the store's VoiceChats and
// [TextBegin, TextEnd) of its TextChats, or, streamed, [0, VoiceEnd) and [0, TextEnd) of the line
// source's log `SourceLog`.
struct ArchivedLog {
    std::int64_t Id = 1;
    std::string Name, Date;
    std::size_t VoiceBegin = 1, VoiceEnd = 1, TextBegin = 1, TextEnd = 1;
    std::size_t SourceLog = 0;

    std::size_t Begin(bool voice) const { return voice ? VoiceBegin : TextBegin; }
    std::size_t End(bool voice) const { return voice ? VoiceEnd : TextEnd; }
    std::size_t Messages(bool voice) const { return End(voice) - Begin(voice); }
};

class ChatArchive {
  public:
    // The logs of `settings.Logs`: streamed from `lines` when it tells them apart (a database's
    // rows, which the store then lacks), else from the store when their ends account for every
    // message of it; otherwise one log (the site's source) holding the store's messages.
    ChatArchive(const AnalysisStore& store, const LineSource& lines,
                const DashboardSettings& settings, std::size_t perFolder);

    // In date order: by date, then in the order filed; logs without a date last, as filed.
    const std::vector<ArchivedLog>& Logs() const { return logs_; }
    // From the site's root: voice/log-<id>.html or text/log-<id>.html, in sub-folders by the id
    // when there are more logs than a folder holds.
    std::string PagePath(bool voice, const ArchivedLog& log) const;
    int PageDepth() const { return voice_.Depth(); }

    // Each message of the log's kind in order; false with `error` when its rows cannot be read.
    bool ForEachMessage(const ArchivedLog& log, bool voice, const ChatLineVisitor& visit,
                        std::string& error) const;
    // What tells, without reading them, whether the log's messages of the kind changed (a
    // database's rows); nullopt when only they tell.
    std::optional<ChatLogStamp> StampOf(const ArchivedLog& log, bool voice) const;

  private:
    // The source's logs asked once (a database's are built for each call).
    ChatArchive(const AnalysisStore& store, const LineSource& lines,
                const std::vector<ChatLogSize>& sizes, const DashboardSettings& settings,
                std::size_t perFolder);

    const AnalysisStore& store_;
    const LineSource& lines_;
    bool streamed_ = false;
    std::vector<ArchivedLog> logs_;
    PageSeries voice_, text_;
};

// How the archive's pages name a log: its date, or "no date" and its file's name.
std::string ArchivedLogTitle(const ArchivedLog& log);

} // namespace qla
