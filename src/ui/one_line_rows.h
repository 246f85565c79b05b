// Tables whose rows are one line of text high, of one fixed height, without row numbers: the view
// then never measures its rows, however many there are.
#pragma once

#include <QHeaderView>
#include <QTableView>

namespace qla::ui {

inline void UseOneLineRows(QTableView* table) {
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
}

} // namespace qla::ui
