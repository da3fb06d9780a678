// The song page's window: its form, keys, mouse and the copy pop-up, driven with real
// events under the offscreen platform.
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Cp949.h"
#include "platform/Services.h"
#include "song/widgets/CSongTitle.h"
#include "ui/widgets/MemoEdit.h"

namespace {

std::string K(const QString& text) { return cp949::FromUtf8(text.toStdString()).text; }

}  // namespace

class SongPageWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<platform::ScriptedServices> services_;
    std::unique_ptr<CLyraApp> app_;
    std::unique_ptr<CSongTitle> page_;

    CLyraDoc& Doc() { return app_->Document(); }
    QTreeWidget* List() { return page_->List(); }

    void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        // Hangul reaches the field as key events carrying their text.
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(edit, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void AddSong(const QString& title, const QString& singer, const QString& number) {
        Type(page_->TitleEdit(), title);
        Type(page_->SingerEdit(), singer);
        Type(page_->NumberEdit(), number);
        QTest::mouseClick(page_->InputButton(), Qt::LeftButton);
    }
    QPoint RowCenter(int row) { return List()->visualItemRect(List()->topLevelItem(row)).center(); }
    QString Cell(int row, int column) { return List()->topLevelItem(row)->text(column); }

private slots:
    void init() {
        services_ = std::make_unique<platform::ScriptedServices>();
        app_ = std::make_unique<CLyraApp>();
        page_ = std::make_unique<CSongTitle>(Doc());
        page_->resize(600, 480);
        page_->show();
        QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
        page_->OnInitialUpdate();
    }
    void cleanup() {
        page_.reset();
        app_.reset();
        services_.reset();
    }

    void formHasItsColumnsFieldsAndLayout() {
        QTreeWidget* list = List();
        QCOMPARE(list->headerItem()->text(0), QString("번호"));
        QCOMPARE(list->headerItem()->text(1), QString("노래제목"));
        QCOMPARE(list->headerItem()->text(2), QString("가수"));
        QCOMPARE(list->headerItem()->text(3), QString("노래번호"));
        // Shares of the list's width, the last column filling what they leave.
        auto fills = [list] {
            const int w = list->viewport()->width();
            return list->columnWidth(0) == int(w * 0.09) && list->columnWidth(1) == int(w * 0.335) &&
                   list->columnWidth(2) == int(w * 0.25) &&
                   list->header()->sectionPosition(3) + list->columnWidth(3) == w;
        };
        QVERIFY(list->viewport()->width() > 560);
        QVERIFY(fills());
        QVERIFY(!list->header()->sectionsClickable());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(page_->InputButton()->text(), QString("입력(&I)"));
        QCOMPARE(page_->TitleEdit()->ByteLimit(), size_t(29));
        QCOMPARE(page_->SingerEdit()->ByteLimit(), size_t(21));
        QCOMPARE(page_->NumberEdit()->ByteLimit(), size_t(6));
        QCOMPARE(QApplication::focusWidget(), page_->TitleEdit());

        // The columns follow the page's width.
        page_->resize(900, 600);
        page_->OnInitialUpdate();
        QTRY_VERIFY(list->viewport()->width() > 850 && fills());

        // The list grows with the page; fields stretch; the button keeps to the right.
        QTRY_VERIFY(list->width() > 850);
        QRect title = page_->TitleEdit()->geometry(), number = page_->NumberEdit()->geometry();
        QRect button = page_->InputButton()->geometry();
        QVERIFY(list->geometry().bottom() < title.top());
        QVERIFY(title.top() < page_->SingerEdit()->geometry().top());
        QVERIFY(page_->SingerEdit()->geometry().top() < number.top());
        QVERIFY(button.left() > title.right());
        QCOMPARE(page_->width() - button.right() - 1, 8);
        QCOMPARE(page_->height() - number.bottom() - 1, 8);
        QCOMPARE(button.top() - list->geometry().bottom() - 1, 8);  // 8 on every side
        QCOMPARE(button.left() - title.right() - 1, 8);
        QVERIFY(title.width() > 500);
    }

    void typingIsHeldToBytesAndEnterInTheSingerFieldAdds() {
        Type(page_->TitleEdit(), QString(30, 'a'));
        QCOMPARE(page_->TitleEdit()->text(), QString(29, 'a'));
        page_->TitleEdit()->clear();
        Type(page_->TitleEdit(), "가나다라마바사아자차카타파하가");
        QCOMPARE(page_->TitleEdit()->text(), QString("가나다라마바사아자차카타파하"));
        QCOMPARE(page_->TitleEdit()->MeterText(), QString("28/29"));  // the byte meter beside the field
        page_->TitleEdit()->clear();

        Type(page_->TitleEdit(), "아리랑");
        Type(page_->NumberEdit(), "12a3");
        QCOMPARE(page_->NumberEdit()->text(), QString("12a3"));
        page_->NumberEdit()->clear();
        Type(page_->NumberEdit(), "12 3");
        Type(page_->SingerEdit(), "민요");
        QCOMPARE(page_->SingerEdit()->MeterText(), QString("4/21"));
        QVERIFY(!page_->SingerEdit()->MeterFull());
        QTest::keyClick(page_->SingerEdit(), Qt::Key_Return);
        QCOMPARE(List()->topLevelItemCount(), 1);
        QCOMPARE(Cell(0, 0), QString("   1"));
        QCOMPARE(Cell(0, 1), QString("아리랑"));
        QCOMPARE(Cell(0, 2), QString("민요"));
        QCOMPARE(Cell(0, 3), QString("12 3"));
        QCOMPARE(Doc().Songs()[0].title[0], K("아리랑"));
        QVERIFY(page_->TitleEdit()->text().isEmpty());
        QVERIFY(page_->SingerEdit()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), page_->TitleEdit());
        QVERIFY(List()->topLevelItem(0)->isSelected());

        // Enter on the Input button does the same; a refusal keeps the text.
        Type(page_->TitleEdit(), "T");
        Type(page_->SingerEdit(), "S");
        Type(page_->NumberEdit(), "1-2");
        page_->InputButton()->setFocus();
        QTest::keyClick(page_->InputButton(), Qt::Key_Enter);
        QCOMPARE(services_->prompts.Texts(), std::vector<std::string>{"노래번호는 숫자만 입력이 가능합니다"});
        QCOMPARE(page_->NumberEdit()->text(), QString("1-2"));
        QCOMPARE(List()->topLevelItemCount(), 1);
    }

    void textOutsideCp949IsRefusedWithAMessage() {
        page_->TitleEdit()->SetTextFromProgram(QString::fromUtf8("Song \xF0\x9F\x98\x80"));
        Type(page_->SingerEdit(), "S");
        Type(page_->NumberEdit(), "1");
        QTest::mouseClick(page_->InputButton(), Qt::LeftButton);
        QCOMPARE(services_->prompts.shown.size(), size_t(1));
        QVERIFY(services_->prompts.shown[0].text.find("CP949") != std::string::npos);
        QVERIFY(services_->prompts.shown[0].text.rfind("노래제목", 0) == 0);
        QCOMPARE(Doc().SongCount()[0], 0);
    }

    // The song file pads with "*", so a star typed or pasted would vanish on reading:
    // the field refuses it and says why.
    void aStarIsRefusedWhenTypedOrPasted() {
        Type(page_->TitleEdit(), "A*B");
        QCOMPARE(page_->TitleEdit()->text(), QString("AB"));
        QCOMPARE(services_->status.texts.back(), std::string(kSongAsteriskMessage));
        services_->clipboard.text = "x*";
        QTest::keyClick(page_->TitleEdit(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(page_->TitleEdit()->text(), QString("AB"));
    }

    void doubleClickingTheThirdRowEditsItInPlace() {
        for (int i = 1; i <= 5; ++i) AddSong(QString("Song %1").arg(i), QString("Singer %1").arg(i), QString::number(i));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(2));
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(2));
        QVERIFY(page_->InEditMode());
        QCOMPARE(page_->SingerEdit()->text(), QString("Singer 3"));
        page_->SingerEdit()->clear();
        Type(page_->SingerEdit(), "가수");
        QTest::mouseClick(page_->InputButton(), Qt::LeftButton);
        QCOMPARE(List()->topLevelItemCount(), 5);
        QCOMPARE(Cell(2, 2), QString("가수"));
        QCOMPARE(Cell(2, 0), QString("   3"));
        QVERIFY(!page_->InEditMode());
    }

    void deleteKeyWhileTypingDeletesNoRow() {
        for (int i = 1; i <= 3; ++i) AddSong(QString("S%1").arg(i), "x", "1");
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(1));
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(1));
        page_->TitleEdit()->setFocus();
        QTest::keyClick(page_->TitleEdit(), Qt::Key_Delete);
        page_->RunCommand(cmd::EditDelete);
        QCOMPARE(List()->topLevelItemCount(), 3);

        List()->setFocus();
        page_->RunCommand(cmd::EditDelete);
        QCOMPARE(List()->topLevelItemCount(), 2);
        QCOMPARE(Cell(1, 1), QString("S3"));
        QCOMPARE(Cell(1, 0), QString("   2"));
        QVERIFY(List()->topLevelItem(1)->isSelected());
    }

    void rightClickOffersCopiesToTheOtherBrands() {
        for (int i = 1; i <= 3; ++i) AddSong(QString("곡%1").arg(i), "가수", QString::number(i));
        page_->OnListRightClick(RowCenter(2));
        QMenu* menu = page_->CopyMenu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), QString("복사"));
        QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0]->text(), QString("Zandri으로 복사"));
        QVERIFY(!items[0]->isEnabled());
        QCOMPARE(items[1]->text(), QString("Pellix으로 복사"));
        QVERIFY(items[1]->isEnabled());
        QCOMPARE(items[2]->text(), QString("Quorvel로 복사"));
        items[1]->trigger();
        QCOMPARE(Doc().SongCount()[1], 1);
        QCOMPARE(Doc().Songs()[1].title[0], K("곡3"));
        QCOMPARE(List()->topLevelItemCount(), 3);
        QVERIFY(services_->prompts.shown.empty());

        page_->OnListRightClick(QPoint(5, List()->viewport()->height() - 2));
        QCOMPARE(page_->CopyMenu(), menu);  // beside the rows: no new pop-up
    }

    void pasteJoinsBothLinesInTheSingerField() {
        services_->clipboard.text = "Line one\r\nLine two";
        Type(page_->SingerEdit(), "Ab");
        QTest::keyClick(page_->SingerEdit(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(page_->SingerEdit()->text(), QString("AbLine one Line two"));
    }

    void findSelectsTheHit() {
        AddSong("alpha", "x", "1");
        AddSong("beta", "y", "2");
        page_->hide();
        page_->show();  // activation puts the search after the last song
        QCOMPARE(page_->SearchPosition(), 2);
        page_->RunCommand(cmd::EditFind);
        CMemoFindDialog* dialog = page_->FindDialog();
        QVERIFY(dialog);
        dialog->FindText()->setText("bet");
        QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
        QVERIFY(List()->topLevelItem(1)->isSelected());
        QVERIFY(!List()->topLevelItem(0)->isSelected());
        QVERIFY(services_->status.texts.empty());
        // A text found nowhere, or one no song can hold, keeps the selection and says so.
        for (const char* text : {"gamma", "😀"}) {
            dialog->FindText()->setText(QString::fromUtf8(text));
            QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
            QVERIFY(List()->topLevelItem(1)->isSelected());
            QCOMPARE(services_->status.texts.back(), "Cannot find \"" + std::string(text) + "\"");
        }
        dialog->close();
    }

    void screenshotWithKoreanSongs() {
        AddSong("아리랑", "민요", "1001");
        AddSong("도라지 타령", "민요", "1002");
        AddSong("[Live] 봄날", "방탄소년단", "4523");
        AddSong("abcdefghijklmn가나다", "가수", "77 7");
        Type(page_->TitleEdit(), "사랑해요");
        Type(page_->SingerEdit(), "가수 이름");
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(1));
        QCOMPARE(Cell(2, 1), QString("(Live) 봄날"));
        QCOMPARE(Cell(3, 1), QString("abcdefghijklmn 가나다"));
        QDir().mkpath(LYRA_SCREENSHOTS);
        QVERIFY(page_->grab().save(QString(LYRA_SCREENSHOTS) + "/song_page.png"));
    }
};

QTEST_MAIN(SongPageWindowTest)
#include "song_page_qtest.moc"
