// Search keys of player names: the core's colour stripping and case folding, then the accents
// taken off by Unicode decomposition (the core has no accent rule: identity keeps "ü" apart
// from "u", only searching puts them together).
#include "ui/player_search_key.h"

#include "core/case_fold.h"
#include "core/names.h"

namespace qla::ui {

namespace {

QString WithoutMarks(const QString& folded) {
    // Compatibility decomposition also splits ligatures and full-width letters into the
    // letters a user types.
    const QString decomposed = folded.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing)
            bare.append(c);
    }
    return bare;
}

} // namespace

QString PlayerSearchKey(std::string_view name) {
    return WithoutMarks(QString::fromStdString(FoldCase(StripColourCodes(name))));
}

QString PlayerSearchKey(const QString& typed) {
    const QByteArray utf8 = typed.toUtf8();
    return PlayerSearchKey(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

} // namespace qla::ui
