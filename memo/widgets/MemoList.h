#pragma once
// The list of the memo page: 250 numbered rows in report style. It tells the page about
// clicks (with the modifier keys held) and about the Up and Down keys before it moves
// its own selection.
#include <QTreeWidget>

class CMemoList : public QTreeWidget {
    Q_OBJECT
public:
    explicit CMemoList(QWidget* parent = nullptr);

    // Selected rows in ascending order.
    QList<int> SelectedRows() const;
    int FirstSelectedRow() const;  // -1 when none

signals:
    // A click ended over a row, or outside any row (row -1).
    void rowClicked(int row, Qt::KeyboardModifiers modifiers);
    // Up (-1) or Down (+1) went down; the list moves its selection afterwards.
    void arrowKey(int step);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};
