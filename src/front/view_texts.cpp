// The texts each view shows.
#include "front/view_texts.h"

namespace qla::front {

db::StoreParts PartsShownBy(ExportView view) {
    const bool all = view == ExportView::AllData || view == ExportView::Dashboard;
    // The site's awards and records tell the streaks, which need the order of the kills.
    return {.Chats = all || view == ExportView::VoiceChat || view == ExportView::TextChat,
            .UnknownLines = all || view == ExportView::Junk,
            .KillOrder = view == ExportView::Dashboard,
            .PassingNames = view == ExportView::Dashboard}; // the site's ratings
}

bool StreamsLines(ExportView view) {
    return view == ExportView::VoiceChat || view == ExportView::TextChat ||
           view == ExportView::Junk || view == ExportView::Dashboard;
}

} // namespace qla::front
