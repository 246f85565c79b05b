// What to export, chosen on the export page's six sub-pages behind the tab strip tabExport: the
// view, its check boxes, its "Order by" option and direction, and the player to export.
#pragma once

#include "export/export_views.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace qla::ui {

class Dialogs;

class ExportChoices final : public QWidget {
    Q_OBJECT

  public:
    explicit ExportChoices(Dialogs& dialogs, QWidget* parent = nullptr);

    // The view of the shown sub-page; on "Other", the one its options select.
    ExportView SelectedView() const;
    // The view's check boxes, "Order by" option and direction as they stand.
    PageChoices ChoicesOf(ExportView view) const;

    // The names offered for the player details, none of them chosen yet.
    void ShowPlayerChoices(const QStringList& names);
    // The chosen player's name; nullopt when none is chosen.
    std::optional<QString> ChosenPlayer() const;

  private:
    // Per view: its check boxes and "Order by" options by index, and its direction list.
    struct ViewControls {
        std::vector<QCheckBox*> Checks;
        std::vector<QRadioButton*> Orders;
        QComboBox* SortHow = nullptr;
    };

    void ShowSubPage(int tab);
    QWidget* BuildTableSubPage(ExportView view, int sortIndex, const char* titleName,
                               const QString& title, const char* orderByName,
                               const char* checkArray, const char* orderArray);
    QWidget* BuildChatSubPage(ExportView view, const char* titleName, const QString& title,
                              const char* arrayName);
    QWidget* BuildOtherSubPage();
    // At least one of "Team chat" and "Global chat" stays checked.
    void KeepOneChatType(ExportView view, std::size_t index);

    Dialogs& dialogs_;
    QTabBar* tabExport_ = nullptr;
    QStackedWidget* subPages_ = nullptr;
    std::array<QWidget*, 6> fraExport_{};
    std::vector<ViewControls> views_;
    QComboBox* cmbPlayer_ = nullptr;
    // The views of the "Other" tab: Logfile Junk, All data, the statistics site.
    std::array<QRadioButton*, 3> optOther_{};
};

} // namespace qla::ui
