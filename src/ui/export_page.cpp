// The "Export Logfile" page: the six sub-pages of export choices, built from the export views'
// descriptions, the export type and the buttons along the bottom, and the chat-type rule of the
// two chat sub-pages.
#include "ui/main_window.h"

#include "ui/dialogs.h"
#include "ui/options_dialog.h"
#include "ui/version.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

namespace qla::ui {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QRadioButton* ArrayOption(const char* arrayName, int index, std::string_view caption,
                          QButtonGroup* group, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromUtf8(caption.data(), caption.size()), parent);
    option->setObjectName(IndexedName(arrayName, index));
    group->addButton(option, index);
    return option;
}

// The view's check boxes "arrayName(i)" with its captions, all checked.
std::vector<QCheckBox*> CheckBoxes(const ExportViewInfo& view, const char* arrayName,
                                   QWidget* parent) {
    std::vector<QCheckBox*> boxes;
    for (std::size_t i = 0; i < view.Checks.size(); ++i) {
        const std::string_view caption = view.Checks[i];
        auto* box = new QCheckBox(QString::fromUtf8(caption.data(), caption.size()), parent);
        box->setObjectName(IndexedName(arrayName, static_cast<int>(i)));
        box->setChecked(true);
        boxes.push_back(box);
    }
    return boxes;
}

// The view's "Order by" options "arrayName(i)" with the start-up choice selected, listed in
// `column` with that choice first. Options the page does not offer stay hidden and unlisted.
std::vector<QRadioButton*> OrderOptions(const ExportViewInfo& view, const char* arrayName,
                                        QWidget* parent, QVBoxLayout* column) {
    auto* group = new QButtonGroup(parent);
    std::vector<QRadioButton*> options;
    for (std::size_t i = 0; i < view.Orders.size(); ++i) {
        const std::string_view caption = view.Orders[i].Caption;
        auto* option = new QRadioButton(QString::fromUtf8(caption.data(), caption.size()), parent);
        option->setObjectName(IndexedName(arrayName, static_cast<int>(i)));
        group->addButton(option, static_cast<int>(i));
        options.push_back(option);
    }
    const auto first = static_cast<std::size_t>(view.DefaultOrder);
    options[first]->setChecked(true);
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (view.Orders[i].Offered)
            continue;
        options[i]->setVisible(false);
        options[i]->setEnabled(false);
    }
    column->addWidget(options[first]);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (i != first && view.Orders[i].Offered)
            column->addWidget(options[i]);
    column->addStretch(1);
    return options;
}

QComboBox* SortHow(int index, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(IndexedName("cmbSortHow", index));
    box->addItems({QStringLiteral("Ascending"), QStringLiteral("Descending")});
    return box;
}

// Title on the left, "Order by:" and the direction on the right, choices below.
struct SubPageLayout {
    QVBoxLayout* outer;
    QHBoxLayout* columns;
    QVBoxLayout* orderColumn;
};

SubPageLayout StartSubPage(QWidget* page, QLabel* title, QLabel* orderBy, QComboBox* sortHow) {
    auto* outer = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch(1);
    if (orderBy) {
        top->addWidget(orderBy);
        top->addWidget(sortHow);
    }
    outer->addLayout(top);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* orderColumn = orderBy ? new QVBoxLayout : nullptr;
    return {outer, columns, orderColumn};
}

template <class Widgets> QVBoxLayout* Column(const Widgets& widgets) {
    auto* column = new QVBoxLayout;
    for (QWidget* widget : widgets)
        column->addWidget(widget);
    column->addStretch(1);
    return column;
}
QVBoxLayout* Column(std::initializer_list<QWidget*> widgets) {
    return Column<std::initializer_list<QWidget*>>(widgets);
}

// Boxes in columns of three, side by side.
template <class Box> void AddInColumnsOfThree(QHBoxLayout* row, const std::vector<Box*>& boxes) {
    for (std::size_t first = 0; first < boxes.size(); first += 3)
        row->addLayout(Column(
            std::span(boxes).subspan(first, std::min<std::size_t>(3, boxes.size() - first))));
}

} // namespace

QWidget* frmMain::BuildExportPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    tabExport_ = new QTabBar(page);
    tabExport_->setObjectName(QStringLiteral("tabExport"));
    // One tab per view; views with a choice caption share the tab they name.
    std::string_view lastTab;
    for (const ExportViewInfo& view : ExportViews()) {
        if (view.Tab != lastTab)
            tabExport_->addTab(QString::fromUtf8(view.Tab.data(), view.Tab.size()));
        lastTab = view.Tab;
    }
    exportViews_.assign(ExportViews().size(), {});
    subPages_ = new QStackedWidget(page);
    subPages_->setObjectName(QStringLiteral("stackExport"));
    subPages_->setFrameShape(QFrame::StyledPanel);
    const std::array<QWidget*, 6> built{
        BuildStandardSubPage(),
        BuildPlayerSubPage(),
        BuildWeaponSubPage(),
        BuildChatSubPage(ExportView::VoiceChat, "Label19",
                         QStringLiteral("Select voice chat  info to export:"), "chkVoiceChat"),
        BuildChatSubPage(ExportView::TextChat, "Label21",
                         QStringLiteral("Select text chat  info to export:"), "chkTextChat"),
        BuildOtherSubPage()};
    for (int i = 0; i < 6; ++i) {
        fraExport_[i] = built[i];
        fraExport_[i]->setObjectName(IndexedName("fraExport", i));
        subPages_->addWidget(fraExport_[i]);
    }
    connect(tabExport_, &QTabBar::currentChanged, this, &frmMain::tabExport_Click);
    outer->addWidget(tabExport_);
    outer->addWidget(subPages_, 1);

    auto* bottom = new QHBoxLayout;
    cmdOptions_ = new QPushButton(QStringLiteral("Options..."), page);
    cmdOptions_->setObjectName(QStringLiteral("cmdOptions"));
    connect(cmdOptions_, &QPushButton::clicked, this, &frmMain::cmdOptions_Click);
    chkOpenSavedFile_ = new QCheckBox(QStringLiteral("Open file after save"), page);
    chkOpenSavedFile_->setObjectName(QStringLiteral("chkOpenSavedFile"));
    cmbExportType_ = new QComboBox(page);
    cmbExportType_->setObjectName(QStringLiteral("cmbExportType"));
    // XML is offered as the third type, so the dispatcher's XML branch can be chosen.
    for (const ExportFormatInfo& format : ExportFormats())
        cmbExportType_->addItem(QString::fromUtf8(format.Caption.data(), format.Caption.size()));
    cmdExport_ = new QPushButton(QStringLiteral("Export"), page);
    cmdExport_->setObjectName(QStringLiteral("cmdExport"));
    connect(cmdExport_, &QPushButton::clicked, this, &frmMain::cmdExport_Click);
    bottom->addWidget(cmdOptions_);
    bottom->addWidget(chkOpenSavedFile_);
    bottom->addStretch(1);
    bottom->addWidget(NamedLabel("Label30", QStringLiteral("Type of file"), page));
    bottom->addWidget(cmbExportType_);
    bottom->addWidget(cmdExport_);
    outer->addLayout(bottom);
    return page;
}

QWidget* frmMain::BuildStandardSubPage() {
    auto* page = new QWidget;
    cmbSortHow_[0] = SortHow(0, page);
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label13", QStringLiteral("Select standard info to export:"), page),
        NamedLabel("Label23", QStringLiteral("Order by:"), page), cmbSortHow_[0]);
    const ExportViewInfo& view = InfoOf(ExportView::Standard);
    ExportViewControls& controls = exportViews_[static_cast<std::size_t>(view.View)];
    controls.SortHow = cmbSortHow_[0];
    controls.Checks = CheckBoxes(view, "chkStandard", page);
    auto* checkColumn = Column(controls.Checks);
    controls.Orders = OrderOptions(view, "optStandardOrder", page, layout.orderColumn);
    layout.columns->addLayout(checkColumn);
    layout.columns->addStretch(1);
    layout.columns->addLayout(layout.orderColumn);
    return page;
}

QWidget* frmMain::BuildPlayerSubPage() {
    auto* page = new QWidget;
    cmbSortHow_[1] = SortHow(1, page);
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label17", QStringLiteral("Select player info to export:"), page),
        NamedLabel("Label24", QStringLiteral("Order by:"), page), cmbSortHow_[1]);
    cmbPlayer_ = new QComboBox(page);
    cmbPlayer_->setObjectName(QStringLiteral("cmbPlayer"));
    cmbPlayer_->setMinimumContentsLength(20);
    cmbPlayer_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const ExportViewInfo& view = InfoOf(ExportView::PlayerDetails);
    ExportViewControls& controls = exportViews_[static_cast<std::size_t>(view.View)];
    controls.SortHow = cmbSortHow_[1];
    controls.Checks = CheckBoxes(view, "chkPlayerDetails", page);
    auto* left = new QVBoxLayout;
    left->addWidget(cmbPlayer_);
    auto* boxes = new QHBoxLayout;
    AddInColumnsOfThree(boxes, controls.Checks);
    left->addLayout(boxes);
    left->addStretch(1);
    controls.Orders = OrderOptions(view, "optPlayerDetails", page, layout.orderColumn);
    layout.columns->addLayout(left);
    layout.columns->addStretch(1);
    layout.columns->addLayout(layout.orderColumn);
    return page;
}

QWidget* frmMain::BuildWeaponSubPage() {
    auto* page = new QWidget;
    cmbSortHow_[2] = SortHow(2, page);
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label18", QStringLiteral("Select weapon info to export:"), page),
        NamedLabel("Label25", QStringLiteral("Order by:"), page), cmbSortHow_[2]);
    const ExportViewInfo& view = InfoOf(ExportView::Weapons);
    ExportViewControls& controls = exportViews_[static_cast<std::size_t>(view.View)];
    controls.SortHow = cmbSortHow_[2];
    controls.Checks = CheckBoxes(view, "chkWeaponDetails", page);
    auto* checkColumn = Column(controls.Checks);
    controls.Orders = OrderOptions(view, "optWeaponDetails", page, layout.orderColumn);
    layout.columns->addLayout(checkColumn);
    layout.columns->addStretch(1);
    layout.columns->addLayout(layout.orderColumn);
    return page;
}

QWidget* frmMain::BuildChatSubPage(ExportView view, const char* titleName, const QString& title,
                                   const char* arrayName) {
    auto* widget = new QWidget;
    const SubPageLayout layout =
        StartSubPage(widget, NamedLabel(titleName, title, widget), nullptr, nullptr);
    const auto slot = static_cast<std::size_t>(view);
    const std::vector<QCheckBox*> boxes = CheckBoxes(InfoOf(view), arrayName, widget);
    exportViews_[slot].Checks = boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        connect(boxes[i], &QCheckBox::clicked, this,
                [this, slot, i] { ChatTypeCheck(exportViews_[slot].Checks, static_cast<int>(i)); });
    AddInColumnsOfThree(layout.columns, boxes);
    layout.columns->addStretch(1);
    return widget;
}

QWidget* frmMain::BuildOtherSubPage() {
    auto* page = new QWidget;
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label22", QStringLiteral("Select other info to export:"), page), nullptr,
        nullptr);
    auto* group = new QButtonGroup(page);
    optOther_[0] = ArrayOption("optOther", 0, InfoOf(ExportView::Junk).Choice, group, page);
    optOther_[1] = ArrayOption("optOther", 1, InfoOf(ExportView::AllData).Choice, group, page);
    optOther_[1]->setChecked(true);
    layout.columns->addLayout(Column({optOther_[0], optOther_[1]}));
    layout.columns->addStretch(1);
    return page;
}

void frmMain::ChatTypeCheck(const std::vector<QCheckBox*>& boxes, int index) {
    // At least one of "Team chat" and "Global chat" stays checked.
    if (index != 3 && index != 4)
        return;
    const int other = index == 3 ? 4 : 3;
    if (boxes[index]->isChecked() || boxes[other]->isChecked())
        return;
    dialogs_.message(this, QMessageBox::Information, kProgramTitle,
                     QStringLiteral("You have to select at least 1 type of chat!"));
    boxes[index]->setChecked(true);
}

void frmMain::cmdOptions_Click() {
    frmOptions dialog(this);
    dialog.exec();
}

} // namespace qla::ui
