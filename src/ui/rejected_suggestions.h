// The alias suggestions the user rejected, so that the Analyze page does not offer them again.
// They are kept in the window's settings (not beside the aliases file, whose format holds only
// joins and splits), as one "name<TAB>other" entry per pair in a fixed order.
#pragma once

#include "analysis/alias_suggestions.h"

#include <QStringList>

namespace qla::ui {

class WindowMemory;

class RejectedSuggestions {
  public:
    // From now on the rejections are read from and kept in `memory` (when it is in use); until
    // then, and without settings, they last as long as the window.
    void KeepIn(WindowMemory& memory);

    void Reject(const AliasSuggestion& suggestion);
    // Either order of the two names counts as the same pair.
    bool IsRejected(const AliasSuggestion& suggestion) const;
    // The suggestions not rejected, in their order.
    std::vector<AliasSuggestion> WithoutRejected(std::vector<AliasSuggestion> suggestions) const;

  private:
    QStringList pairs_;
    WindowMemory* memory_ = nullptr;
};

} // namespace qla::ui
