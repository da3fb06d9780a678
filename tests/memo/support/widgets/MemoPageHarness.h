#pragma once
// A memo page on its own: the application with its document, the page attached to it,
// scripted services, and the command route a main window would use (page, document,
// application).
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "memo/widgets/MemoList.h"
#include "memo/widgets/MemoView.h"
#include "platform/Commands.h"
#include "platform/Cp949.h"
#include "platform/Services.h"
#include "ui/widgets/MemoEdit.h"

namespace memotest {

inline std::string Cp(const QString& text) { return cp949::FromUtf8(text.toStdString()).text; }
inline QString Utf(std::string_view cp) { return QString::fromStdString(cp949::ToUtf8Lossy(cp)); }

struct MemoPage {
    platform::ScriptedServices services;
    CLyraApp app;
    CMemoView view;
    platform::CommandRouter router{[this] {
        return std::vector<platform::CommandTarget*>{&view, &app.Document(), &app};
    }};

    MemoPage() {
        doc().AddView(&view);
        view.resize(600, 480);
        view.show();
        QApplication::setActiveWindow(&view);
        app.ProcessShellCommand("");
    }

    CLyraDoc& doc() { return app.Document(); }
    CMemoEdit* name() { return view.Edit(CMemoView::IdName); }
    CMemoEdit* tel() { return view.Edit(CMemoView::IdTel); }
    CMemoEdit* email() { return view.Edit(CMemoView::IdEmail); }
    CMemoList* list() { return view.List(); }

    // Fills rows 0..n-1 with "n0", "t0", "e0", ... as if a file had been read: the
    // list holds no unsaved changes afterwards.
    void Load(int n) {
        MemoBook list;
        for (int i = 0; i < n; ++i) {
            std::string k = std::to_string(i);
            SetMemoField(list.table[i], MemoField::Name, "n" + k);
            SetMemoField(list.table[i], MemoField::Tel, "t" + k);
            SetMemoField(list.table[i], MemoField::Email, "e" + k);
        }
        list.last = n - 1;
        doc().SetMemoList(list, "Load");
        doc().SetMemoFindEnabled(true);
        doc().MarkSaved(DataKind::Memo);
        doc().UpdateAllViews(nullptr, 0);
    }

    // The list changed as an edit of the document changes it.
    template <class Change>
    void ChangeList(Change change) {
        MemoBook list = doc().MemoList();
        change(list);
        doc().SetMemoList(list, "Change");
    }
    void SetLast(int last) {
        ChangeList([last](MemoBook& list) { list.last = last; });
    }

    std::string Field(int row, MemoField f) { return std::string(MemoFieldText(doc().Memo()[row], f)); }
    QString Cell(int row, int column) { return list()->topLevelItem(row)->text(column); }

    void Click(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        list()->scrollToItem(list()->topLevelItem(row));
        QRect r = list()->visualItemRect(list()->topLevelItem(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, mods, r.center());
    }

    bool Enabled(int id) { return router.Query(id).enabled; }
};

// Types text into a box the way a keyboard would: one key event per ASCII character, one
// committed input-method string per other character (as a Korean input method sends).
inline void Type(QWidget* w, const QString& text) {
    w->setFocus();
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(w, ch.toLatin1());
        } else {
            QInputMethodEvent e;
            e.setCommitString(QString(ch));
            QApplication::sendEvent(w, &e);
        }
    }
}

inline void TypeSurrogatePair(QWidget* w, const QString& pair) {
    QInputMethodEvent e;
    e.setCommitString(pair);
    QApplication::sendEvent(w, &e);
}

}  // namespace memotest
