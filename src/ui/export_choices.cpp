// The export page's six sub-pages, built from the export views' descriptions, and the chat-type
// rule of the two chat sub-pages.
#include "ui/export_choices.h"

#include "ui/control_names.h"
#include "ui/dialogs.h"
#include "ui/export_captions.h"
#include "ui/export_controls.h"
#include "ui/version.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>

namespace qla::ui {

ExportChoices::ExportChoices(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), views_(ExportViews().size()) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    tabExport_ = new QTabBar(this);
    tabExport_->setObjectName(QStringLiteral("tabExport"));
    // One tab per view; views with a choice caption share the tab they name.
    std::string_view lastTab;
    for (const ExportViewInfo& view : ExportViews()) {
        if (view.Tab != lastTab)
            tabExport_->addTab(ExportCaption(view.Tab));
        lastTab = view.Tab;
    }
    subPages_ = new QStackedWidget(this);
    subPages_->setObjectName(QStringLiteral("stackExport"));
    subPages_->setFrameShape(QFrame::StyledPanel);
    const std::array<QWidget*, 6> built{
        BuildTableSubPage(ExportView::Standard, 0, "Label13", tr("Select standard info to export:"),
                          "Label23", "chkStandard", "optStandardOrder"),
        BuildTableSubPage(ExportView::PlayerDetails, 1, "Label17",
                          tr("Select player info to export:"), "Label24", "chkPlayerDetails",
                          "optPlayerDetails"),
        BuildTableSubPage(ExportView::Weapons, 2, "Label18", tr("Select weapon info to export:"),
                          "Label25", "chkWeaponDetails", "optWeaponDetails"),
        BuildChatSubPage(ExportView::VoiceChat, "Label19", tr("Select voice chat  info to export:"),
                         "chkVoiceChat"),
        BuildChatSubPage(ExportView::TextChat, "Label21", tr("Select text chat  info to export:"),
                         "chkTextChat"),
        BuildOtherSubPage()};
    for (int i = 0; i < 6; ++i) {
        fraExport_[i] = built[i];
        fraExport_[i]->setObjectName(IndexedName("fraExport", i));
        subPages_->addWidget(fraExport_[i]);
    }
    connect(tabExport_, &QTabBar::currentChanged, this, &ExportChoices::ShowSubPage);
    outer->addWidget(tabExport_);
    outer->addWidget(subPages_, 1);
    ShowSubPage(0);
}

ExportView ExportChoices::SelectedView() const {
    // Views with a choice caption share one tab and are told apart by its options.
    const int tab = tabExport_->currentIndex();
    int number = -1;
    std::size_t choice = 0;
    std::string_view lastTab;
    const ExportViewInfo* shown = nullptr;
    for (const ExportViewInfo& view : ExportViews()) {
        if (view.Tab != lastTab) {
            ++number;
            choice = 0;
            lastTab = view.Tab;
        }
        if (number != tab)
            continue;
        if (view.Choice.empty())
            return view.View;
        if (shown == nullptr)
            shown = &view; // the first choice when none is selected
        if (choice < optOther_.size() && optOther_[choice++]->isChecked())
            return view.View;
    }
    return shown ? shown->View : ExportView::Junk;
}

PageChoices ExportChoices::ChoicesOf(ExportView view) const {
    const ViewControls& controls = views_[static_cast<std::size_t>(view)];
    PageChoices choices;
    for (const QCheckBox* box : controls.Checks)
        choices.Checks.push_back(box->isChecked());
    choices.Order = SelectedOrder(controls.Orders);
    choices.Ascending = controls.SortHow == nullptr || controls.SortHow->currentIndex() == 0;
    return choices;
}

void ExportChoices::ShowPlayerChoices(const QStringList& names) {
    cmbPlayer_->clear();
    cmbPlayer_->addItems(names);
    // Like the player list, the choice starts without a chosen player.
    cmbPlayer_->setCurrentIndex(-1);
}

std::optional<QString> ExportChoices::ChosenPlayer() const {
    if (cmbPlayer_->currentIndex() < 0)
        return std::nullopt;
    return cmbPlayer_->currentText();
}

void ExportChoices::ShowSubPage(int tab) {
    if (tab < 0 || tab > 5)
        return;
    subPages_->setCurrentIndex(tab);
    for (int i = 0; i < 6; ++i)
        fraExport_[i]->setVisible(i == tab);
}

QWidget* ExportChoices::BuildTableSubPage(ExportView view, int sortIndex, const char* titleName,
                                          const QString& title, const char* orderByName,
                                          const char* checkArray, const char* orderArray) {
    auto* page = new QWidget;
    const ExportViewInfo& info = InfoOf(view);
    ViewControls& controls = views_[static_cast<std::size_t>(view)];
    controls.SortHow = SortHow(sortIndex, page);
    controls.SortHow->setCurrentIndex(0);
    const SubPageLayout layout =
        StartSubPage(page, NamedLabel(titleName, title, page),
                     NamedLabel(orderByName, tr("Order by:"), page), controls.SortHow);
    QVBoxLayout* choiceColumn = nullptr;
    if (info.NeedsPlayer) {
        // The player to export above its sections, which stand in columns of three.
        cmbPlayer_ = new QComboBox(page);
        cmbPlayer_->setObjectName(QStringLiteral("cmbPlayer"));
        cmbPlayer_->setMinimumContentsLength(20);
        cmbPlayer_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        controls.Checks = CheckBoxes(info, checkArray, page);
        choiceColumn = new QVBoxLayout;
        choiceColumn->addWidget(cmbPlayer_);
        auto* boxes = new QHBoxLayout;
        AddInColumnsOfThree(boxes, controls.Checks);
        choiceColumn->addLayout(boxes);
        choiceColumn->addStretch(1);
    } else {
        controls.Checks = CheckBoxes(info, checkArray, page);
        choiceColumn = Column(controls.Checks);
    }
    controls.Orders = OrderOptions(info, orderArray, page, layout.OrderColumn);
    layout.Columns->addLayout(choiceColumn);
    layout.Columns->addStretch(1);
    layout.Columns->addLayout(layout.OrderColumn);
    return page;
}

QWidget* ExportChoices::BuildChatSubPage(ExportView view, const char* titleName,
                                         const QString& title, const char* arrayName) {
    auto* page = new QWidget;
    const SubPageLayout layout =
        StartSubPage(page, NamedLabel(titleName, title, page), nullptr, nullptr);
    const std::vector<QCheckBox*> boxes = CheckBoxes(InfoOf(view), arrayName, page);
    views_[static_cast<std::size_t>(view)].Checks = boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        connect(boxes[i], &QCheckBox::clicked, this, [this, view, i] { KeepOneChatType(view, i); });
    AddInColumnsOfThree(layout.Columns, boxes);
    layout.Columns->addStretch(1);
    return page;
}

QWidget* ExportChoices::BuildOtherSubPage() {
    auto* page = new QWidget;
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label22", tr("Select other info to export:"), page), nullptr, nullptr);
    auto* group = new QButtonGroup(page);
    optOther_[0] = ArrayOption("optOther", 0, InfoOf(ExportView::Junk).Choice, group, page);
    optOther_[1] = ArrayOption("optOther", 1, InfoOf(ExportView::AllData).Choice, group, page);
    optOther_[2] = ArrayOption("optOther", 2, InfoOf(ExportView::Dashboard).Choice, group, page);
    optOther_[1]->setChecked(true);
    layout.Columns->addLayout(Column({optOther_[0], optOther_[1], optOther_[2]}));
    layout.Columns->addStretch(1);
    return page;
}

void ExportChoices::KeepOneChatType(ExportView view, std::size_t index) {
    const std::vector<QCheckBox*>& boxes = views_[static_cast<std::size_t>(view)].Checks;
    if (index != 3 && index != 4)
        return;
    const std::size_t other = index == 3 ? 4 : 3;
    if (boxes[index]->isChecked() || boxes[other]->isChecked())
        return;
    dialogs_.message(this, QMessageBox::Information, kProgramTitle,
                     tr("You have to select at least 1 type of chat!"));
    boxes[index]->setChecked(true);
}

} // namespace qla::ui
