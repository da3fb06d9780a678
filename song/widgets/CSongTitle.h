#pragma once
// The song page: the current brand's song list, the three entry fields (title, singer,
// number) and the Input button. What the page does lives in SongPage; this window
// shows its rows, hands it the fields' text in CP949 and turns clicks and keys into
// its operations.
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "song/SongPage.h"
#include "ui/widgets/MemoFindDialog.h"

class CMemoEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

class CSongTitle : public QWidget, public SongPage {
    Q_OBJECT
public:
    // Form control ids.
    enum ControlId { IdList = 1002, IdInput = 1011, IdTitle = 1017, IdNumber = 1018, IdSinger = 1022 };
    enum Column { ColNo = 0, ColTitle = 1, ColSinger = 2, ColNumber = 3 };

    CSongTitle(CLyraDoc& doc, QWidget* parent = nullptr);
    ~CSongTitle() override;

    void OnInitialUpdate() override;

    QTreeWidget* List() const { return list_; }
    CMemoEdit* TitleEdit() const { return edits_[0]; }
    CMemoEdit* SingerEdit() const { return edits_[1]; }
    CMemoEdit* NumberEdit() const { return edits_[2]; }
    QPushButton* InputButton() const { return input_; }
    QMenu* CopyMenu() const { return copyMenu_; }
    CMemoFindDialog* FindDialog() const { return findDialog_; }

    // A right-click at a point of the list's viewport: the copy pop-up over a row.
    void OnListRightClick(const QPoint& viewportPos);

protected:
    bool ReadFields(SongFields& fields) override;
    void ShowFields(const SongFields& fields) override;
    void RowsChanged() override;
    void ScrollToRow(int row) override;
    void SetMainWindowTitle(const std::string& title) override;
    void FocusTitleField() override;
    SongFocus FocusedControl() const override;
    void OpenFindDialog(const std::string& lastText) override;
    void PasteIntoFocusedField(const std::string& utf8) override;

    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void SizeColumns();
    void OnListSelectionChanged();
    void OnListDoubleClicked(int row);
    void RunIfEnabled(int id);

    QTreeWidget* list_;
    QLabel* labels_[3];
    CMemoEdit* edits_[3];  // title, singer, number
    QPushButton* input_;
    QPointer<QMenu> copyMenu_;
    QPointer<CMemoFindDialog> findDialog_;
    bool refreshing_ = false;
};
