// The controls of the export sub-pages, built from a view's description: its check boxes, its
// "Order by" options and direction, and the layout every sub-page shares.
#pragma once

#include "export/export_views.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <span>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace qla::ui {

// The view's check boxes "arrayName(i)" with its captions, all checked.
std::vector<QCheckBox*> CheckBoxes(const ExportViewInfo& view, const char* arrayName,
                                   QWidget* parent);

// The view's "Order by" options "arrayName(i)" with the start-up choice selected, listed in
// `column` with that choice first. Options the page does not offer stay hidden and unlisted.
std::vector<QRadioButton*> OrderOptions(const ExportViewInfo& view, const char* arrayName,
                                        QWidget* parent, QVBoxLayout* column);

// The index of the selected option; the last index when none is selected, nullopt for a view
// without options.
std::optional<int> SelectedOrder(const std::vector<QRadioButton*>& options);

// One option "arrayName(index)" of a group of options.
QRadioButton* ArrayOption(const char* arrayName, int index, std::string_view caption,
                          QButtonGroup* group, QWidget* parent);

// The direction list "cmbSortHow(index)": "Ascending", "Descending".
QComboBox* SortHow(int index, QWidget* parent);

// Title on the left, "Order by:" and the direction on the right, choices below.
struct SubPageLayout {
    QVBoxLayout* Outer;
    QHBoxLayout* Columns;
    QVBoxLayout* OrderColumn; // nullptr on a sub-page without "Order by:"
};
SubPageLayout StartSubPage(QWidget* page, QLabel* title, QLabel* orderBy, QComboBox* sortHow);

// The widgets one below the other, pushed to the top.
template <class Widgets> QVBoxLayout* Column(const Widgets& widgets) {
    auto* column = new QVBoxLayout;
    for (QWidget* widget : widgets)
        column->addWidget(widget);
    column->addStretch(1);
    return column;
}
inline QVBoxLayout* Column(std::initializer_list<QWidget*> widgets) {
    return Column<std::initializer_list<QWidget*>>(widgets);
}

// Boxes in columns of three, side by side.
template <class Box> void AddInColumnsOfThree(QHBoxLayout* row, const std::vector<Box*>& boxes) {
    for (std::size_t first = 0; first < boxes.size(); first += 3)
        row->addLayout(Column(
            std::span(boxes).subspan(first, std::min<std::size_t>(3, boxes.size() - first))));
}

} // namespace qla::ui
