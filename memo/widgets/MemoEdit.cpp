#include "memo/widgets/MemoEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include "platform/Cp949.h"
#include "platform/Services.h"

// Accepts a change when the whole text converts to CP949 and either fits the byte limit
// or is no longer than before, so a text put there by the program can still be shortened.
class MemoByteValidator : public QValidator {
public:
    explicit MemoByteValidator(CMemoEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int&) const override {
        if (edit_->fromProgram_) return Acceptable;
        cp949::Conversion c = cp949::FromUtf8(input.toStdString());
        if (!c.ok) {
            edit_->Refuse(c.error);
            return Invalid;
        }
        size_t bytes = c.text.size();
        if (bytes > edit_->limit_ && bytes > edit_->acceptedBytes_) {
            edit_->Refuse("This box holds at most " + std::to_string(edit_->limit_) +
                          " bytes; a Korean character takes 2.");
            return Invalid;
        }
        return Acceptable;
    }

private:
    CMemoEdit* edit_;
};

CMemoEdit::CMemoEdit(int controlId, size_t byteLimit, QWidget* parent)
    : QLineEdit(parent), id_(controlId), limit_(byteLimit) {
    setValidator(new MemoByteValidator(this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedBytes_ = cp949::FromUtf8(text.toStdString()).text.size(); });
}

void CMemoEdit::SetTextFromProgram(const QString& text) {
    fromProgram_ = true;
    setText(text);
    fromProgram_ = false;
}

void CMemoEdit::Refuse(const std::string& why) const { platform::services().status->Show(why); }

bool CMemoEdit::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
        if (tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            emit editComplete(id_, Tab);
            return true;
        }
    }
    // Leave the paste keys to the window's Paste command, which appends to the box.
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste)) {
        e->ignore();
        return false;
    }
    return QLineEdit::event(e);
}

void CMemoEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit editComplete(id_, ReturnKey);
        emit editComplete(id_, Enter);
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        emit pasteRequested();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void CMemoEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    emit editComplete(id_, LostFocus);
}
