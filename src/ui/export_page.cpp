// The "Export Logfile" page: the six sub-pages of export choices, the export type and the
// buttons along the bottom, and the chat-type rule of the two chat sub-pages.
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

namespace qla::ui {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QCheckBox* ArrayCheck(const char* arrayName, int index, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(IndexedName(arrayName, index));
    box->setChecked(true);
    return box;
}

QRadioButton* ArrayOption(const char* arrayName, int index, const char* caption,
                          QButtonGroup* group, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromLatin1(caption), parent);
    option->setObjectName(IndexedName(arrayName, index));
    group->addButton(option, index);
    return option;
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

QVBoxLayout* Column(std::initializer_list<QWidget*> widgets) {
    auto* column = new QVBoxLayout;
    for (QWidget* widget : widgets)
        column->addWidget(widget);
    column->addStretch(1);
    return column;
}

} // namespace

QWidget* frmMain::BuildExportPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    tabExport_ = new QTabBar(page);
    tabExport_->setObjectName(QStringLiteral("tabExport"));
    for (const char* caption :
         {"Standard", "Player Details", "Weapon Details", "Voice Chat", "Text Chat", "Other"})
        tabExport_->addTab(QString::fromLatin1(caption));
    subPages_ = new QStackedWidget(page);
    subPages_->setObjectName(QStringLiteral("stackExport"));
    subPages_->setFrameShape(QFrame::StyledPanel);
    const std::array<QWidget*, 6> built{
        BuildStandardSubPage(),
        BuildPlayerSubPage(),
        BuildWeaponSubPage(),
        BuildChatSubPage("Label19", QStringLiteral("Select voice chat  info to export:"),
                         "chkVoiceChat", chkVoiceChat_),
        BuildChatSubPage("Label21", QStringLiteral("Select text chat  info to export:"),
                         "chkTextChat", chkTextChat_),
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
    cmbExportType_->addItems(
        {QStringLiteral("HTML"), QStringLiteral("Text dump"), QStringLiteral("XML")});
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
    constexpr std::array<const char*, 5> checks{
        "Player name", "Number of kills", "Number of deaths", "Kill / Death ratio", "Teamkills"};
    auto* checkColumn = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) {
        chkStandard_[i] = ArrayCheck("chkStandard", i, checks[i], page);
        checkColumn->addWidget(chkStandard_[i]);
    }
    checkColumn->addStretch(1);
    auto* group = new QButtonGroup(page);
    constexpr std::array<const char*, 6> options{"Player name",      "Number of kills",
                                                 "Number of deaths", "Kill / Death ratio",
                                                 "Teamkills",        "Appearance in logfile"};
    for (int i = 0; i < 6; ++i)
        optStandardOrder_[i] = ArrayOption("optStandardOrder", i, options[i], group, page);
    optStandardOrder_[5]->setChecked(true);
    // Listed with "Appearance in logfile" first.
    for (int i : {5, 0, 1, 2, 3, 4})
        layout.orderColumn->addWidget(optStandardOrder_[i]);
    layout.orderColumn->addStretch(1);
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
    constexpr std::array<const char*, 6> checks{"Kills",     "Deaths",     "Self kills",
                                                "Teamkills", "Teamdeaths", "Used weapons"};
    for (int i = 0; i < 6; ++i)
        chkPlayerDetails_[i] = ArrayCheck("chkPlayerDetails", i, checks[i], page);
    auto* left = new QVBoxLayout;
    left->addWidget(cmbPlayer_);
    auto* boxes = new QHBoxLayout;
    boxes->addLayout(Column({chkPlayerDetails_[0], chkPlayerDetails_[1], chkPlayerDetails_[2]}));
    boxes->addLayout(Column({chkPlayerDetails_[3], chkPlayerDetails_[4], chkPlayerDetails_[5]}));
    left->addLayout(boxes);
    left->addStretch(1);
    auto* group = new QButtonGroup(page);
    constexpr std::array<const char*, 3> options{"Player names", "Numbers",
                                                 "Appearance in logfile"};
    for (int i = 0; i < 3; ++i)
        optPlayerDetails_[i] = ArrayOption("optPlayerDetails", i, options[i], group, page);
    optPlayerDetails_[2]->setChecked(true);
    for (int i : {2, 0, 1})
        layout.orderColumn->addWidget(optPlayerDetails_[i]);
    layout.orderColumn->addStretch(1);
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
    constexpr std::array<const char*, 5> checks{"Weapon name", "Number of kills",
                                                "% of total kills", "Most kills by: [player]",
                                                "Most deaths by: [player]"};
    auto* checkColumn = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) {
        chkWeaponDetails_[i] = ArrayCheck("chkWeaponDetails", i, checks[i], page);
        checkColumn->addWidget(chkWeaponDetails_[i]);
    }
    checkColumn->addStretch(1);
    auto* group = new QButtonGroup(page);
    constexpr std::array<const char*, 6> options{
        "Weapon name",    "Number of kills", "% of total kills",
        "Most kills by:", "Most deaths by:", "Standard order"};
    for (int i = 0; i < 6; ++i)
        optWeaponDetails_[i] = ArrayOption("optWeaponDetails", i, options[i], group, page);
    optWeaponDetails_[5]->setChecked(true);
    // The share option exists but is never offered.
    optWeaponDetails_[2]->setVisible(false);
    optWeaponDetails_[2]->setEnabled(false);
    for (int i : {5, 0, 1, 3, 4})
        layout.orderColumn->addWidget(optWeaponDetails_[i]);
    layout.orderColumn->addStretch(1);
    layout.columns->addLayout(checkColumn);
    layout.columns->addStretch(1);
    layout.columns->addLayout(layout.orderColumn);
    return page;
}

QWidget* frmMain::BuildChatSubPage(const char* titleName, const QString& title,
                                   const char* arrayName, std::array<QCheckBox*, 5>& boxes) {
    auto* widget = new QWidget;
    const SubPageLayout layout =
        StartSubPage(widget, NamedLabel(titleName, title, widget), nullptr, nullptr);
    constexpr std::array<const char*, 5> captions{"Player name", "Location", "Text", "Team chat",
                                                  "Global chat"};
    for (int i = 0; i < 5; ++i) {
        boxes[i] = ArrayCheck(arrayName, i, captions[i], widget);
        connect(boxes[i], &QCheckBox::clicked, this,
                [this, &boxes, i] { ChatTypeCheck(boxes, i); });
    }
    layout.columns->addLayout(Column({boxes[0], boxes[1], boxes[2]}));
    layout.columns->addLayout(Column({boxes[3], boxes[4]}));
    layout.columns->addStretch(1);
    return widget;
}

QWidget* frmMain::BuildOtherSubPage() {
    auto* page = new QWidget;
    const SubPageLayout layout = StartSubPage(
        page, NamedLabel("Label22", QStringLiteral("Select other info to export:"), page), nullptr,
        nullptr);
    auto* group = new QButtonGroup(page);
    optOther_[0] = ArrayOption("optOther", 0, "Logfile Junk", group, page);
    optOther_[1] =
        ArrayOption("optOther", 1, "All data (standard + players + weapons)", group, page);
    optOther_[1]->setChecked(true);
    layout.columns->addLayout(Column({optOther_[0], optOther_[1]}));
    layout.columns->addStretch(1);
    return page;
}

void frmMain::ChatTypeCheck(std::array<QCheckBox*, 5>& boxes, int index) {
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
