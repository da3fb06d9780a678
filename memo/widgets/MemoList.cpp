#include "memo/widgets/MemoList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

CMemoList::CMemoList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
}

QList<int> CMemoList::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CMemoList::FirstSelectedRow() const {
    QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

void CMemoList::mouseReleaseEvent(QMouseEvent* e) {
    QTreeWidget::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton) return;
    QModelIndex index = indexAt(e->position().toPoint());
    emit rowClicked(index.isValid() ? index.row() : -1, e->modifiers());
}

void CMemoList::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Up) emit arrowKey(-1);
    if (e->key() == Qt::Key_Down) emit arrowKey(+1);
    QTreeWidget::keyPressEvent(e);
}
