#pragma once
// The "My Memo" page: the 250-row memo list, the three entry boxes and the Input button.
// It edits the document's memo table directly and serves the commands Delete, Find,
// Paste, Save (enabling only) and direct Print.
#include <QPointer>
#include <QWidget>
#include <string>

#include "memo/MemoCommit.h"
#include "memo/MemoTable.h"
#include "platform/DocView.h"

class CLyraDoc;
class CMemoEdit;
class CMemoFindDialog;
class CMemoList;
class QLabel;
class QPushButton;

class CMemoView : public QWidget, public platform::View {
    Q_OBJECT
public:
    // Form control ids; an entry box reports with its id, and Tab moves to id + 1.
    enum ControlId { IdList = 1002, IdName = 1003, IdTel = 1004, IdEmail = 1005, IdInput = 1011 };
    // List columns; 1 to 3 are the table's fields.
    enum Column { ColNo = 0, ColName = 1, ColTel = 2, ColEmail = 3 };

    explicit CMemoView(QWidget* parent = nullptr);
    ~CMemoView() override;

    CLyraDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(platform::View* sender, long hint) override;

    // Selects and focuses row, scrolling it into view; with load, shows it in the entry
    // boxes, enables them and makes it the current row.
    void SelectRow(int row, bool load);

    int CurrentRow() const { return m_nCurrentRow; }
    CMemoList* List() const { return list_; }
    CMemoEdit* Edit(int controlId) const;
    QPushButton* InputButton() const { return input_; }
    CMemoFindDialog* FindDialog() const;  // the last one opened, while it is open

    // Command handlers, also reachable through the router.
    void OnEditDelete();
    void OnEditFind();
    void OnEditPaste();
    void OnFilePrintPage();

signals:
    // Printing has ended: the main window puts the memo page's menu and bars back.
    void pageActivated(int page);
    // At the initial update: the page's font, which the main window and its tab labels
    // take; then the page is laid out, and the window may not become smaller than now.
    void fontChosen(const QFont& font);
    void laidOut();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // The page itself takes no keys: the focus goes back to the control that last had
    // it on this page, else the Name box, else the list.
    void focusInEvent(QFocusEvent* e) override;

private:
    void LayOutControls();
    void BuildColumns();
    void SizeColumns();
    void Refresh();
    void ShowRow(int row);
    void ShowEntry(const MemoEntry& row);
    void EnableEntry(bool on);

    void OnRowClicked(int row, Qt::KeyboardModifiers modifiers);
    void OnArrowKey(int step);
    void OnEditComplete(int controlId, int reason);
    void OnFindNext(const QString& text, bool down);
    void OnInput();
    void EnterCommit();
    void Touch();
    // Reads the three boxes as CP949; false (after telling the person) when a value
    // cannot be converted.
    bool TakeEntry();
    // Tells the person why a commit stored nothing; false when it was not refused.
    bool Refused(MemoCommit result, const MemoOverLimit& over);
    bool IsEditFocused() const;

    CMemoList* list_;
    QLabel* labels_[3];
    CMemoEdit* edits_[3];
    QPushButton* input_;

    std::string m_strName, m_strTel, m_strEmail;  // the entry, CP949
    int m_nCurrentRow = -1;
    QPointer<CMemoFindDialog> m_pFindDialog;
    QPointer<QWidget> lastFocus_;  // the control of this page that last had the focus
    QString m_strLastFind;
    bool m_bDbcs = false;
    bool columnsBuilt_ = false;
    bool scrollWhenShown_ = false;  // a refresh happened while the list was hidden
};
