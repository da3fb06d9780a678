#include "memo/widgets/MemoView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "memo/MemoCommit.h"
#include "memo/MemoRules.h"
#include "memo/MemoSearch.h"
#include "memo/widgets/MemoContactCommands.h"
#include "memo/widgets/MemoList.h"
#include "platform/Cp949.h"
#include "platform/Services.h"
#include "ui/widgets/MemoEdit.h"
#include "ui/widgets/MemoFindDialog.h"

namespace {

constexpr const char* kEmailOver =
    "E-Mail String Over: the e-mail takes more than 24 bytes (with the space that keeps a Korean "
    "character whole between the device's two 12-byte pieces).";
constexpr int kLastRow = kMemoRows - 1;

// Page geometry in pixels.
constexpr int kMargin = 4;        // the list's left and top
constexpr int kLabelWidth = 56;   // the label column
constexpr int kButtonWidth = 120; // the button's area right of the boxes, before its 8-pixel inset
constexpr int kButtonInset = 8;

// Column headers and their shares of the page width.
struct ColumnSpec {
    const char* title;
    double share;
};
constexpr ColumnSpec kColumns[] = {{"No", 0.09}, {"Name", 0.213}, {"Tel.", 0.213}, {"E-Mail", 0.44}};

constexpr MemoField kFields[] = {MemoField::Name, MemoField::Tel, MemoField::Email};

QString Show(std::string_view cp) { return QString::fromStdString(cp949::ToUtf8Lossy(cp)); }

}  // namespace

CMemoView::CMemoView(QWidget* parent) : QWidget(parent), list_(new CMemoList(this)), input_(new QPushButton("&Input", this)) {
    const char* captions[] = {"Name", "Tel.", "E-Mail"};
    const size_t limits[] = {kMemoTypedName, kMemoTypedTel, kMemoTypedEmail};
    for (int i = 0; i < 3; ++i) {
        labels_[i] = new QLabel(captions[i], this);
        edits_[i] = new CMemoEdit(IdName + i, limits[i], this);
        connect(edits_[i], &CMemoEdit::editComplete, this, &CMemoView::OnEditComplete);
        connect(edits_[i], &CMemoEdit::pasteRequested, this, &CMemoView::OnEditPaste);
    }
    setTabOrder(edits_[0], edits_[1]);
    setTabOrder(edits_[1], edits_[2]);
    setTabOrder(edits_[2], list_);
    connect(list_, &CMemoList::rowClicked, this, &CMemoView::OnRowClicked);
    connect(list_, &CMemoList::arrowKey, this, &CMemoView::OnArrowKey);
    connect(input_, &QPushButton::clicked, this, &CMemoView::OnInput);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != this && isAncestorOf(now)) lastFocus_ = now;
    });

    OnCommand(cmd::EditDelete, [this] { OnEditDelete(); });
    OnUpdateCommand(cmd::EditDelete, [this](platform::CmdUI& ui) {
        const CLyraDoc* doc = GetDocument();
        ui.Enable(doc && doc->MemoList().CanDeleteFrom(m_nCurrentRow));
    });
    OnCommand(cmd::EditFind, [this] { OnEditFind(); });
    OnUpdateCommand(cmd::EditFind, [this](platform::CmdUI& ui) {
        // Whenever the list holds a contact: there is something to find.
        CLyraDoc* doc = GetDocument();
        ui.Enable(doc && doc->App().m_nPage == page::Memo && CountMemoEntries(doc->Memo()) > 0);
    });
    OnCommand(cmd::EditPaste, [this] { OnEditPaste(); });
    OnUpdateCommand(cmd::FileSave, [this](platform::CmdUI& ui) {
        const CLyraDoc* doc = GetDocument();
        // Whenever a save would write something other than the file holds: also after
        // every contact of an opened file was deleted. Focus moving between the boxes
        // changes nothing that a save would keep.
        ui.Enable(doc && doc->HasUnsavedChanges(DataKind::Memo));
    });
    for (bool redo : {false, true}) {
        OnCommand(redo ? cmd::EditRedo : cmd::EditUndo, [this, redo] {
            if (CLyraDoc* doc = GetDocument()) doc->RunHistoryCommand(DataKind::Memo, redo);
        });
        OnUpdateCommand(redo ? cmd::EditRedo : cmd::EditUndo, [this, redo](platform::CmdUI& ui) {
            if (const CLyraDoc* doc = GetDocument()) doc->UpdateHistoryCommand(DataKind::Memo, redo, ui);
        });
    }
    OnCommand(cmd::FilePrintPage, [this] { OnFilePrintPage(); });
    OnCommand(cmd::ImportContacts, [this] {
        if (CLyraDoc* doc = GetDocument()) ImportContacts(*doc, this);
    });
    OnCommand(cmd::ExportContacts, [this] {
        if (CLyraDoc* doc = GetDocument()) ExportContacts(*doc);
    });
}

CMemoView::~CMemoView() {
    // The boxes lose the focus while the page goes away; nobody is left to tell.
    for (CMemoEdit* e : edits_) e->disconnect(this);
}

CLyraDoc* CMemoView::GetDocument() const { return static_cast<CLyraDoc*>(platform::View::GetDocument()); }

CMemoEdit* CMemoView::Edit(int controlId) const {
    int i = controlId - IdName;
    return i >= 0 && i < 3 ? edits_[i] : nullptr;
}

// ---- Layout and refresh -------------------------------------------------------

void CMemoView::LayOutControls() {
    const int w = width(), h = height();
    const int editH = edits_[0]->sizeHint().height();
    const int listBottom = std::max(kMargin, h - 3 * editH - 8);
    list_->setGeometry(kMargin, kMargin, std::max(0, w - 2 * kMargin), listBottom - kMargin);
    const int editX = kMargin + kLabelWidth;
    const int editW = std::max(0, w - editX - kButtonWidth);
    int y = listBottom + 2;
    for (int i = 0; i < 3; ++i, y += editH + 2) {
        labels_[i]->setGeometry(kMargin, y, kLabelWidth, editH);
        edits_[i]->setGeometry(editX, y, editW, editH);
    }
    const int labelsBottom = y - 2;
    QRect button(editX + editW, listBottom, w - editX - editW, labelsBottom - listBottom);
    input_->setGeometry(button.adjusted(kButtonInset, kButtonInset, -kButtonInset, -kButtonInset));
}

void CMemoView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    LayOutControls();
    SizeColumns();
}

void CMemoView::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    for (QWidget* w : {static_cast<QWidget*>(lastFocus_.data()), static_cast<QWidget*>(edits_[0]),
                       static_cast<QWidget*>(list_)}) {
        if (w && w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(e->reason());
            return;
        }
    }
}

void CMemoView::BuildColumns() {
    if (columnsBuilt_) return;
    columnsBuilt_ = true;
    QStringList titles;
    for (const ColumnSpec& c : kColumns) titles << c.title;
    list_->setHeaderLabels(titles);
    for (int i = 0; i < 4; ++i) list_->headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
    SizeColumns();
}

void CMemoView::SizeColumns() {
    // The widths are shares of the room the list has for its rows, taken whenever the
    // page is on screen and changes size, so the columns follow the window and never
    // need a horizontal scroll bar.
    if (!columnsBuilt_ || !isVisible()) return;
    const int w = list_->viewport()->width();
    for (int i = 0; i < 4; ++i) list_->setColumnWidth(i, static_cast<int>(w * kColumns[i].share));
}

void CMemoView::OnInitialUpdate() {
    LayOutControls();
    emit fontChosen(font());
    Refresh();
    emit laidOut();
}

void CMemoView::OnUpdate(platform::View*, long hint) {
    if (hint == hint::MemoRead) Refresh();
}

void CMemoView::Refresh() {
    CLyraDoc* doc = GetDocument();
    if (!doc) return;
    list_->clear();
    BuildColumns();
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < kMemoRows; ++i) {
        auto* item = new QTreeWidgetItem;
        item->setText(ColNo, QString::number(i + 1).rightJustified(4, ' '));
        items << item;
    }
    list_->addTopLevelItems(items);
    for (int i = 0; i < kMemoRows; ++i) ShowRow(i);

    m_nCurrentRow = doc->MemoList().NextEntryRow();
    SelectRow(m_nCurrentRow, true);
    edits_[0]->setFocus();
    // A list not on screen yet has no height to scroll by: it shows the rows from the
    // top when it appears, as a list refreshed on screen does.
    scrollWhenShown_ = !list_->isVisible();
}

void CMemoView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The page got its real size while it was still hidden; now the shares can be taken.
    SizeColumns();
    if (!scrollWhenShown_) return;
    scrollWhenShown_ = false;
    list_->scrollToTop();
    list_->scrollTo(list_->model()->index(m_nCurrentRow, 0));
}

void CMemoView::ShowRow(int row) {
    const MemoEntry& entry = GetDocument()->Memo()[row];
    QTreeWidgetItem* item = list_->topLevelItem(row);
    for (int c = 0; c < 3; ++c) item->setText(ColName + c, Show(MemoFieldText(entry, kFields[c])));
}

void CMemoView::ShowEntry(const MemoEntry& row) {
    m_strName = MemoFieldText(row, MemoField::Name);
    m_strTel = MemoFieldText(row, MemoField::Tel);
    m_strEmail = MemoFieldText(row, MemoField::Email);
    const std::string* values[] = {&m_strName, &m_strTel, &m_strEmail};
    for (int i = 0; i < 3; ++i) edits_[i]->ShowStoredText(Show(*values[i]));
}

void CMemoView::EnableEntry(bool on) {
    for (CMemoEdit* e : edits_) e->setEnabled(on);
    input_->setEnabled(on);
}

void CMemoView::SelectRow(int row, bool load) {
    if (row < 0 || row > kLastRow) return;
    QModelIndex index = list_->model()->index(row, 0);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
    if (!load) return;
    ShowEntry(GetDocument()->Memo()[row]);
    EnableEntry(true);
    m_nCurrentRow = row;
}

// ---- List clicks and keys -----------------------------------------------------

void CMemoView::OnRowClicked(int row, Qt::KeyboardModifiers modifiers) {
    if (row < 0 || row > kLastRow) return;
    CLyraDoc* doc = GetDocument();
    ShowEntry(doc->Memo()[row]);
    bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    EnableEntry(plain && doc->MemoList().IsOpen(row));
    m_nCurrentRow = row;
}

void CMemoView::OnArrowKey(int step) {
    CLyraDoc* doc = GetDocument();
    int target = list_->FirstSelectedRow() + step;
    // Above row 0 nothing happens. Below row 249 the list cannot move, but the boxes are
    // disabled as for any row past the last one; the current row stays inside the table.
    if (target < 0) return;
    int loaded = m_nCurrentRow + step;
    if (list_->SelectedRows().size() == 1 && target <= doc->MemoLast() && loaded >= 0 && loaded <= kLastRow) {
        ShowEntry(doc->Memo()[loaded]);
        EnableEntry(true);
        m_nCurrentRow = loaded;
    } else {
        EnableEntry(false);
        m_nCurrentRow = std::min(target, kLastRow);
    }
    doc->SetMemoFindEnabled(false);
}

// ---- Entry boxes and commits --------------------------------------------------

void CMemoView::OnEditComplete(int controlId, int reason) {
    switch (reason) {
    case CMemoEdit::Tab:
        if (controlId == IdEmail)
            list_->setFocus(Qt::TabFocusReason);
        else if (CMemoEdit* next = Edit(controlId + 1))
            next->setFocus(Qt::TabFocusReason);
        break;
    case CMemoEdit::BackTab:
        // Backwards: E-Mail, Tel., Name, then the list.
        if (CMemoEdit* previous = Edit(controlId - 1))
            previous->setFocus(Qt::BacktabFocusReason);
        else
            list_->setFocus(Qt::BacktabFocusReason);
        break;
    case CMemoEdit::Enter:
        EnterCommit();
        break;
    default:
        Touch();
        break;
    }
}

void CMemoView::Touch() {
    CLyraDoc* doc = GetDocument();
    if (!doc) return;
    doc->TouchMemoRow(m_nCurrentRow);
    m_bDbcs = false;
}

bool CMemoView::TakeEntry() {
    std::string* values[] = {&m_strName, &m_strTel, &m_strEmail};
    for (int i = 0; i < 3; ++i) {
        cp949::Conversion c = cp949::FromUtf8(edits_[i]->text().toStdString());
        if (!c.ok) {
            platform::services().prompts->Show(c.error, platform::Buttons::Ok);
            edits_[i]->setFocus();
            return false;
        }
        *values[i] = std::move(c.text);
    }
    return true;
}

bool CMemoView::Refused(MemoCommit result, const MemoOverLimit& over) {
    if (result == MemoCommit::TooLong) {
        CMemoEdit* box = edits_[static_cast<int>(over.field)];
        platform::services().prompts->Show(CMemoEdit::OverLimitText(over.limit), platform::Buttons::Ok);
        box->setFocus();
        return true;
    }
    if (result == MemoCommit::EmailOver) {
        platform::services().prompts->Show(kEmailOver, platform::Buttons::Ok);
        edits_[2]->setFocus();
        return true;
    }
    return false;
}

void CMemoView::EnterCommit() {
    CLyraDoc* doc = GetDocument();
    if (!doc || m_nCurrentRow < 0 || m_nCurrentRow > kLastRow) return;
    if (!TakeEntry()) return;
    MemoOverLimit over;
    MemoCommit result = doc->CommitMemoRow(m_nCurrentRow, {m_strName, m_strTel, m_strEmail}, false, m_bDbcs, &over);
    // A refused commit leaves the row as it was and the boxes as typed, to be mended.
    if (Refused(result, over)) return;
    ShowRow(m_nCurrentRow);
    if (IsMemoRowEmpty(doc->Memo()[m_nCurrentRow])) return;
    m_nCurrentRow = std::min(m_nCurrentRow + 1, kLastRow);
    SelectRow(m_nCurrentRow, true);
    edits_[0]->setFocus();
    Touch();
}

void CMemoView::OnInput() {
    CLyraDoc* doc = GetDocument();
    int s = list_->FirstSelectedRow();
    if (!doc || s < 0) return;
    if (!TakeEntry()) return;
    MemoOverLimit over;
    MemoCommit result = doc->CommitMemoRow(s, {m_strName, m_strTel, m_strEmail}, true, m_bDbcs, &over);
    if (Refused(result, over)) return;
    ShowRow(s);
    switch (result) {
    case MemoCommit::TooLong:
    case MemoCommit::EmailOver:
        return;
    case MemoCommit::Stored:
        // The document opened the row after the contact to typing.
        m_nCurrentRow = std::min(s + 1, kLastRow);
        SelectRow(m_nCurrentRow, true);
        break;
    case MemoCommit::Unchanged:
        break;
    }
    edits_[0]->setFocus();
    doc->SetMemoFindEnabled(true);
    m_bDbcs = false;
}

// ---- Commands -----------------------------------------------------------------

bool CMemoView::IsEditFocused() const {
    QWidget* focus = window()->focusWidget();
    return std::find(std::begin(edits_), std::end(edits_), focus) != std::end(edits_);
}

void CMemoView::OnEditDelete() {
    CLyraDoc* doc = GetDocument();
    // With the focus in a box the Del key edits text; no row goes, and the typing stays.
    if (!doc || IsEditFocused()) return;
    QList<int> rows = list_->SelectedRows();
    if (rows.isEmpty()) return;
    // Several contacts at once are easy to select by mistake: one question for all.
    int contacts = 0;
    for (int row : rows) contacts += IsMemoRowEmpty(doc->Memo()[row]) ? 0 : 1;
    if (contacts > 1 &&
        platform::services().prompts->Show("Delete the " + std::to_string(contacts) + " selected contacts?",
                                           platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    list_->selectionModel()->clearSelection();
    doc->DeleteMemoRows(std::vector<int>(rows.begin(), rows.end()));
    // The rows from the first one deleted down moved up.
    for (int r = *std::min_element(rows.begin(), rows.end()); r < kMemoRows; ++r) ShowRow(r);
    SelectRow(rows.first(), true);
    // A row past the last one stays closed to typing, as a click on it would leave it:
    // an entry there would follow empty rows, and the memo file ends at the first one.
    if (!doc->MemoList().IsOpen(rows.first())) EnableEntry(false);
}

void CMemoView::OnEditFind() {
    auto* dialog = new CMemoFindDialog(m_strLastFind, this);
    connect(dialog, &CMemoFindDialog::findNext, this, &CMemoView::OnFindNext);
    m_pFindDialog = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CMemoView::OnFindNext(const QString& text, bool down) {
    CLyraDoc* doc = GetDocument();
    if (!doc) return;
    m_strLastFind = text;
    cp949::Conversion c = cp949::FromUtf8(text.toStdString());
    if (!c.ok) {
        platform::services().status->Show(c.error);
        return;
    }
    int row = FindMemoRow(doc->Memo(), m_nCurrentRow, c.text, down);
    if (row < 0) {
        platform::services().status->Show(CMemoFindDialog::NotFoundText(text));
        return;
    }
    m_nCurrentRow = row;
    SelectRow(row, true);
}

void CMemoView::OnEditPaste() {
    std::string text = platform::services().clipboard->Text();
    if (text.empty()) return;
    QWidget* focus = window()->focusWidget();
    auto* edit = qobject_cast<CMemoEdit*>(focus);
    if (!edit || std::find(std::begin(edits_), std::end(edits_), edit) == std::end(edits_)) return;
    edit->PasteText(QString::fromStdString(text));
}

void CMemoView::OnFilePrintPage() {
    // Direct printing: the page as it looks, on the default printer, one page.
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QPrinter printer(QPrinterInfo::defaultPrinter());
        printer.setFromTo(1, 1);
        QPainter painter;
        if (painter.begin(&printer)) {
            QRectF area = printer.pageRect(QPrinter::DevicePixel);
            double scale = std::min(area.width() / width(), area.height() / height());
            painter.scale(scale, scale);
            render(&painter);
            painter.end();
        }
    }
    emit pageActivated(page::Memo);
}

CMemoFindDialog* CMemoView::FindDialog() const { return m_pFindDialog; }
