// The controls of the export sub-pages, built from a view's description.
#include "ui/export_controls.h"

#include "ui/control_names.h"
#include "ui/export_captions.h"
#include "ui/version.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>

namespace qla::ui {

std::vector<QCheckBox*> CheckBoxes(const ExportViewInfo& view, const char* arrayName,
                                   QWidget* parent) {
    std::vector<QCheckBox*> boxes;
    for (std::size_t i = 0; i < view.Checks.size(); ++i) {
        auto* box = new QCheckBox(ExportCaption(view.Checks[i].Caption), parent);
        box->setObjectName(IndexedName(arrayName, static_cast<int>(i)));
        box->setChecked(true);
        boxes.push_back(box);
    }
    return boxes;
}

std::vector<QRadioButton*> OrderOptions(const ExportViewInfo& view, const char* arrayName,
                                        QWidget* parent, QVBoxLayout* column) {
    auto* group = new QButtonGroup(parent);
    std::vector<QRadioButton*> options;
    for (std::size_t i = 0; i < view.Orders.size(); ++i)
        options.push_back(
            ArrayOption(arrayName, static_cast<int>(i), view.Orders[i].Caption, group, parent));
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

std::optional<int> SelectedOrder(const std::vector<QRadioButton*>& options) {
    if (options.empty())
        return std::nullopt;
    const auto selected =
        std::find_if(options.begin(), options.end(),
                     [](const QRadioButton* option) { return option->isChecked(); });
    return static_cast<int>(std::min(selected, options.end() - 1) - options.begin());
}

QRadioButton* ArrayOption(const char* arrayName, int index, std::string_view caption,
                          QButtonGroup* group, QWidget* parent) {
    auto* option = new QRadioButton(ExportCaption(caption), parent);
    option->setObjectName(IndexedName(arrayName, index));
    group->addButton(option, index);
    return option;
}

QComboBox* SortHow(int index, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(IndexedName("cmbSortHow", index));
    box->addItems({QCoreApplication::translate("qla::ui::ExportControls", "Ascending"),
                   QCoreApplication::translate("qla::ui::ExportControls", "Descending")});
    return box;
}

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

} // namespace qla::ui
