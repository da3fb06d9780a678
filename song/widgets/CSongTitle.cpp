#include "song/widgets/CSongTitle.h"

#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>

#include "app/CommandIds.h"
#include "app/Resources.h"
#include "platform/Cp949.h"
#include "platform/Services.h"
#include "ui/widgets/FlatMenus.h"
#include "ui/widgets/MemoEdit.h"
#include "ui/widgets/MemoFindDialog.h"

namespace {

constexpr int kMargin = 8;

// Column headers and their shares of the page width.
struct ColumnSpec {
    const char* title;
    double share;
};
constexpr ColumnSpec kColumns[] = {{"번호", 0.09}, {"노래제목", 0.335}, {"가수", 0.25}, {"노래번호", 0.12}};

QString Show(const std::string& cp) { return QString::fromStdString(cp949::ToUtf8Lossy(cp)); }

bool IsEnterKey(const QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    int key = static_cast<const QKeyEvent*>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CSongTitle::CSongTitle(CLyraDoc& doc, QWidget* parent)
    : QWidget(parent), SongPage(doc), list_(new QTreeWidget(this)), input_(new QPushButton("입력(&I)", this)) {
    const char* captions[] = {"노래제목", "가수", "노래번호"};
    const int ids[] = {IdTitle, IdSinger, IdNumber};
    const size_t limits[] = {kSongTypedTitle, kSongTypedSinger, kSongTypedNumber};
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    // The Input button keeps 8 pixels on every side: from the list, the fields and the
    // page's edges.
    grid->setSpacing(kMargin);
    grid->addWidget(list_, 0, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        labels_[i] = new QLabel(captions[i], this);
        edits_[i] = new CMemoEdit(ids[i], limits[i], this);
        labels_[i]->setBuddy(edits_[i]);
        grid->addWidget(labels_[i], i + 1, 0);
        grid->addWidget(edits_[i], i + 1, 1);
        edits_[i]->SetRefusedCharacters(QString(QChar(kSongRefusedCharacter)), kSongAsteriskMessage);
        connect(edits_[i], &CMemoEdit::editComplete, this, [this](int, int reason) {
            if (reason == CMemoEdit::ReturnKey)
                Input();
            else if (reason == CMemoEdit::Tab || reason == CMemoEdit::BackTab)
                focusNextPrevChild(reason == CMemoEdit::Tab);
        });
        connect(edits_[i], &CMemoEdit::pasteRequested, this, [this] { RunIfEnabled(cmd::EditPaste); });
    }
    input_->setMinimumWidth(96);
    input_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    input_->installEventFilter(this);
    grid->addWidget(input_, 1, 2, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    setTabOrder(edits_[0], edits_[1]);
    setTabOrder(edits_[1], edits_[2]);
    setTabOrder(edits_[2], input_);
    setTabOrder(input_, list_);
    setFocusProxy(edits_[0]);

    list_->setColumnCount(4);
    QStringList headers;
    for (const ColumnSpec& c : kColumns) headers << c.title;
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible while the focus is in the fields.
    QPalette p = list_->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    list_->setPalette(p);

    connect(input_, &QPushButton::clicked, this, [this] { Input(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CSongTitle::OnListSelectionChanged);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnListDoubleClicked(list_->indexOfTopLevelItem(item)); });
    connect(list_, &QWidget::customContextMenuRequested, this, &CSongTitle::OnListRightClick);
}

CSongTitle::~CSongTitle() {
    for (CMemoEdit* e : edits_) e->disconnect(this);
}

void CSongTitle::OnInitialUpdate() {
    SizeColumns();
    FocusTitleField();
}

void CSongTitle::SizeColumns() {
    // Shares of the list's width as it is on screen (a hidden page has no real size yet),
    // taken again whenever it changes; the last column takes what the shares leave, so
    // the columns fill the list.
    if (!isVisible()) return;
    const int width = list_->viewport()->width();
    for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, static_cast<int>(width * kColumns[c].share));
}

void CSongTitle::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    SizeColumns();
}

// ---- Hooks of the page --------------------------------------------------------

bool CSongTitle::ReadFields(SongFields& fields) {
    std::string* targets[] = {&fields.title, &fields.singer, &fields.number};
    for (int i = 0; i < 3; ++i) {
        cp949::Conversion c = cp949::FromUtf8(edits_[i]->text().toStdString());
        if (!c.ok) {
            platform::services().prompts->Show(labels_[i]->text().toStdString() + ": " + c.error,
                                               platform::Buttons::Ok);
            return false;
        }
        *targets[i] = std::move(c.text);
    }
    return true;
}

void CSongTitle::ShowFields(const SongFields& fields) {
    edits_[0]->SetTextFromProgram(Show(fields.title));
    edits_[1]->SetTextFromProgram(Show(fields.singer));
    edits_[2]->SetTextFromProgram(Show(fields.number));
}

void CSongTitle::RowsChanged() {
    refreshing_ = true;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const SongRow& r : Rows())
        items << new QTreeWidgetItem(QStringList{Show(r.numberText), Show(r.title), Show(r.singer), Show(r.number)});
    list_->addTopLevelItems(items);
    for (int i = 0; i < static_cast<int>(Rows().size()); ++i) {
        const SongRow& r = Rows()[i];
        if (r.focused)
            list_->selectionModel()->setCurrentIndex(list_->model()->index(i, 0), QItemSelectionModel::NoUpdate);
        if (r.selected) items[i]->setSelected(true);
    }
    refreshing_ = false;
}

void CSongTitle::ScrollToRow(int row) {
    // The rows are rebuilt right after a selection; scroll once they are there.
    QMetaObject::invokeMethod(
        this,
        [this, row] {
            if (QTreeWidgetItem* item = list_->topLevelItem(row)) list_->scrollToItem(item);
        },
        Qt::QueuedConnection);
}

void CSongTitle::SetMainWindowTitle(const std::string& title) { window()->setWindowTitle(QString::fromStdString(title)); }

void CSongTitle::FocusTitleField() { edits_[0]->setFocus(); }

SongFocus CSongTitle::FocusedControl() const {
    QWidget* f = QApplication::focusWidget();
    if (f == edits_[0]) return SongFocus::Title;
    if (f == edits_[1]) return SongFocus::Singer;
    if (f == edits_[2]) return SongFocus::Number;
    if (f == input_) return SongFocus::InputButton;
    return SongFocus::Other;
}

void CSongTitle::OpenFindDialog(const std::string& lastText) {
    auto* dialog = new CMemoFindDialog(Show(lastText), this);
    findDialog_ = dialog;
    connect(dialog, &CMemoFindDialog::findNext, this, [this](const QString& text, bool down) {
        // A text CP949 cannot hold occurs in no song.
        cp949::Conversion c = cp949::FromUtf8(text.toStdString());
        if (!c.ok || !FindNext(c.text, down))
            platform::services().status->Show(CMemoFindDialog::NotFoundText(text));
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CSongTitle::PasteIntoFocusedField(const std::string& utf8) {
    for (CMemoEdit* e : edits_)
        if (e == QApplication::focusWidget()) e->PasteText(QString::fromStdString(utf8));
}

// ---- Events ---------------------------------------------------------------------

bool CSongTitle::eventFilter(QObject* watched, QEvent* e) {
    // Enter on the Input button is Input, as in the fields.
    if (watched == input_ && IsEnterKey(e)) {
        Input();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void CSongTitle::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    SizeColumns();
    if (!e->spontaneous()) OnActivateView(true);
}

void CSongTitle::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!e->spontaneous()) OnActivateView(false);
}

void CSongTitle::OnListSelectionChanged() {
    if (refreshing_) return;
    std::vector<int> rows;
    for (QTreeWidgetItem* item : list_->selectedItems()) rows.push_back(list_->indexOfTopLevelItem(item));
    SetSelectedRows(rows);
}

void CSongTitle::OnListDoubleClicked(int row) {
    OnListSelectionChanged();
    StartEdit(row);
}

void CSongTitle::OnListRightClick(const QPoint& viewportPos) {
    QTreeWidgetItem* item = list_->itemAt(viewportPos);
    if (!item || !BeginCopy(list_->indexOfTopLevelItem(item))) return;
    delete copyMenu_;
    const res::MenuItem& popup = res::Menu(res::MenuSongCopy).front();
    copyMenu_ = new QMenu(QString::fromStdString(popup.caption), this);
    for (const res::MenuItem& entry : popup.items) {
        QAction* action = copyMenu_->addAction(QString::fromStdString(entry.caption));
        action->setProperty("commandId", entry.id);
        platform::CmdUI ui;
        ui.enabled = true;
        RunUpdate(entry.id, ui);
        action->setEnabled(ui.enabled);
        connect(action, &QAction::triggered, this, [this, id = entry.id] { RunIfEnabled(id); });
    }
    // Drawn flat like every menu of the main window, which owns its commands.
    CFlatMenus::ConvertMenu(window(), copyMenu_);
    copyMenu_->popup(QCursor::pos());
}

void CSongTitle::RunIfEnabled(int id) {
    platform::CmdUI ui;
    ui.id = id;
    ui.enabled = true;
    if (HasUpdateHandler(id)) RunUpdate(id, ui);
    if (ui.enabled && HasCommandHandler(id)) RunCommand(id);
}
