// The texts each view shows.
#include "front/view_texts.h"

namespace qla::front {

db::StoreParts PartsShownBy(ExportView view) {
    const bool all = view == ExportView::AllData || view == ExportView::Dashboard;
    return {all || view == ExportView::VoiceChat || view == ExportView::TextChat,
            all || view == ExportView::Junk};
}

} // namespace qla::front
