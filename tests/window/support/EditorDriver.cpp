#include "window/support/EditorDriver.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "app/widgets/CommandActions.h"
#include "image/widgets/LbImageQt.h"
#include "logo/widgets/CLogoView.h"
#include "memo/widgets/MemoList.h"
#include "memo/widgets/MemoView.h"
#include "platform/AtomicFile.h"
#include "song/widgets/CSongTitle.h"
#include "ui/widgets/CFlatToolBar.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/FrameSteps.h"

EditorDriver::EditorDriver(const Options& options) {
    TTabWnd::ResetLastReportedPage();
    frame = std::make_unique<CMainFrame>(app, options.songPage);
    // The order of the editor's start: the file (or New) before the window shows.
    started = app.ProcessShellCommand(options.file);
    ShowStartedFrame(*frame);
}

EditorDriver::~EditorDriver() { frame.reset(); }

CMemoView& EditorDriver::memo() const { return *qobject_cast<CMemoView*>(frame->TabWindow()->ViewAt(0)); }
CLogoView& EditorDriver::logo() const { return *qobject_cast<CLogoView*>(frame->TabWindow()->ViewAt(1)); }
CSongTitle* EditorDriver::song() const {
    return frame->TabWindow()->TabCount() > 2 ? qobject_cast<CSongTitle*>(frame->TabWindow()->ViewAt(2)) : nullptr;
}

std::vector<std::string> EditorDriver::TakeShown() {
    std::vector<std::string> texts = services.prompts.Texts();
    std::vector<std::string> fresh(texts.begin() + std::min(shownTaken_, texts.size()), texts.end());
    shownTaken_ = texts.size();
    return fresh;
}

void EditorDriver::ClickTab(int index) { ClickTabOf(*frame, index); }

QStringList EditorDriver::MenuTitles() const {
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions()) titles << a->text();
    return titles;
}

void EditorDriver::Key(int key, Qt::KeyboardModifiers modifiers) {
    frame->Actions().Refresh();  // the idle update that runs between two key presses
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : frame.get(), Qt::Key(key), modifiers);
}

void EditorDriver::Type(const QString& text) {
    for (QChar ch : text) {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) return;
        if (ch.unicode() < 0x80) {
            QTest::keyClick(target, ch.toLatin1());
        } else {
            // A committed input-method string, as a Korean input method sends it.
            QInputMethodEvent e;
            e.setCommitString(QString(ch));
            QApplication::sendEvent(target, &e);
        }
    }
}

void EditorDriver::TypeContact(const QString& name, const QString& tel, const QString& email) {
    CMemoEdit* nameBox = memo().Edit(CMemoView::IdName);
    if (QApplication::focusWidget() != nameBox) QTest::mouseClick(nameBox, Qt::LeftButton);
    // Each box is emptied first, as a person selects what a loaded row shows.
    ReplaceText(name);
    Key(Qt::Key_Tab);
    ReplaceText(tel);
    if (!email.isEmpty()) {
        Key(Qt::Key_Tab);
        ReplaceText(email);
    }
    Key(Qt::Key_Return);
}

void EditorDriver::ReplaceText(const QString& text) {
    Key(Qt::Key_End);
    Key(Qt::Key_Home, Qt::ShiftModifier);
    Key(Qt::Key_Backspace);
    Type(text);
}

void EditorDriver::ClickMemoRow(int row, Qt::KeyboardModifiers modifiers) {
    CMemoList* list = memo().List();
    list->scrollToItem(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->topLevelItem(row)).center());
}

void EditorDriver::ClickInput() { QTest::mouseClick(memo().InputButton(), Qt::LeftButton); }

bool EditorDriver::ClickToolButton(int command) {
    frame->Actions().Refresh();  // what the idle update would have shown
    CFlatToolBar* bar = frame->ToolBar(PageShown());
    for (int i = 0; bar && i < bar->ButtonCount(); ++i) {
        if (bar->CommandAt(i) != command) continue;
        const bool enabled = frame->Actions().Action(command)->isEnabled();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ButtonRect(i).center());
        return enabled;
    }
    return false;
}

void EditorDriver::OpenFileMenu() {
    QMenuBar* bar = frame->menuBar();
    QAction* file = bar->actions().value(0);
    if (file == nullptr) return;
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(file).center());
    QCoreApplication::processEvents();
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QCoreApplication::processEvents();
}

void EditorDriver::Drop(const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    mime.setUrls(urls);
    const QPoint at = frame->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
}

bool EditorDriver::Close() { return frame->close(); }

int EditorDriver::PageShown() const { return frame->TabWindow()->ActiveIndex(); }

QStringList EditorDriver::MemoRow(int row) const {
    QTreeWidgetItem* item = memo().List()->topLevelItem(row);
    return {item->text(CMemoView::ColName), item->text(CMemoView::ColTel), item->text(CMemoView::ColEmail)};
}

std::vector<QStringList> EditorDriver::ShownContacts() const {
    std::vector<QStringList> rows;
    const int n = memo().List()->topLevelItemCount();
    for (int r = 0; r < n; ++r) {
        QStringList cells = MemoRow(r);
        if (!cells.join("").isEmpty()) rows.push_back(cells);
    }
    return rows;
}

int EditorDriver::TopMemoRow() const {
    CMemoList* list = memo().List();
    return list->indexOfTopLevelItem(list->itemAt(QPoint(4, 4)));
}

QImage EditorDriver::Preview() const {
    CLogoPreview* preview = frame->LogoPreview();
    QImage shown(preview->size(), QImage::Format_RGB32);
    preview->render(&shown);
    return shown;
}

bool EditorDriver::PreviewShowsLogo() const {
    const QImage shown = Preview();
    CLyraDoc& d = const_cast<EditorDriver*>(this)->doc();
    // The whole control: the working logo at 1:1 as the device shows it, or, without
    // one, the empty control.
    const QImage logo = d.LogoImage() ? CLogoView::DevicePreview(*d.LogoImage()) : QImage();
    const QRgb empty = shown.pixel(1, 1);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            if (logo.isNull() ? shown.pixel(x, y) != empty : shown.pixel(x, y) != logo.pixel(x, y)) return false;
        }
    }
    return logo.isNull() || logo.size() == QSize(96, 96);
}

bool EditorDriver::HasSelectionBox() const { return logo().SelectionBox() != nullptr; }
QSize EditorDriver::LogoScrollRange() const { return logo().TotalSize(); }

bool EditorDriver::Enabled(int command) {
    frame->Actions().Refresh();
    return frame->Actions().Action(command)->isEnabled();
}

std::string EditorDriver::ReadFile(const std::string& path) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes)) return {};
    return bytes;
}

std::string EditorDriver::Scratch(const std::string& name) {
    const QString dir = QString(LYRA_TEST_TMP) + "/editor";
    QDir().mkpath(dir);
    const std::string path = (dir + "/" + QString::fromStdString(name)).toStdString();
    QFile::remove(QString::fromStdString(path));
    return path;
}

void EditorDriver::WritePicture(const std::string& path, const char* format, int w, int h, bool indexed) {
    QImage picture(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, PictureColour(x, y));
    if (indexed) picture = picture.convertToFormat(QImage::Format_Indexed8);
    picture.save(QString::fromStdString(path), format);
}

QImage EditorDriver::ReadDeviceLogo(const std::string& path) {
    const std::string bytes = ReadFile(path);
    if (bytes.size() != 27702) return {};
    QImage logo(96, 96, QImage::Format_RGB32);
    for (int row = 0; row < 96; ++row) {
        for (int x = 0; x < 96; ++x) {
            const size_t at = 54 + (size_t(row) * 96 + x) * 2;
            const unsigned v = uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8;
            // Rows are stored bottom row first.
            logo.setPixel(x, 95 - row, qRgb((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3));
        }
    }
    return logo;
}

bool EditorDriver::SameAtFiveBits(const QImage& a, const QImage& b, QRect area) {
    if (a.isNull() || b.isNull()) return false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if ((qRed(p) >> 3) != (qRed(q) >> 3) || (qGreen(p) >> 3) != (qGreen(q) >> 3) ||
                (qBlue(p) >> 3) != (qBlue(q) >> 3))
                return false;
        }
    }
    return true;
}
