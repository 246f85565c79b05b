#include "ui/player_merge_choice.h"

namespace qla::ui {

QString MemoryWordOf(PlayerMergeChoice choice) {
    switch (choice) {
    case PlayerMergeChoice::ByNames:
        return QStringLiteral("names");
    case PlayerMergeChoice::WithRenames:
        return QStringLiteral("renames");
    case PlayerMergeChoice::None:
        break;
    }
    return QStringLiteral("none");
}

PlayerMergeChoice MergeChoiceFromMemory(const QString& word) {
    if (word == QLatin1String("names"))
        return PlayerMergeChoice::ByNames;
    if (word == QLatin1String("renames"))
        return PlayerMergeChoice::WithRenames;
    return PlayerMergeChoice::None;
}

} // namespace qla::ui
