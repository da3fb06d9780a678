#include "ui/widgets/MemoEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QValidator>
#include <algorithm>

#include "platform/Cp949.h"
#include "platform/Services.h"

namespace {

// A one-line field holds no line breaks or tabs (pasted or dropped text may): each line
// break (CR, LF or the pair) and every other control character becomes one space.
bool FlattenControls(QString& text, int& pos) {
    bool changed = false;
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != 0x7F) continue;
        changed = true;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == QChar('\n')) {
            text.remove(i + 1, 1);
            if (pos > i + 1) --pos;
        }
        text[i] = QChar(' ');
    }
    return changed;
}

}  // namespace

// Accepts a change when the whole text converts to CP949, holds no refused character and
// either fits the byte limit or is no longer than before, so a text put there by the
// program can still be shortened. Control characters become spaces on the way in.
class MemoByteValidator : public QValidator {
public:
    explicit MemoByteValidator(CMemoEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        if (edit_->fromProgram_) return Acceptable;
        FlattenControls(input, pos);
        for (QChar ch : edit_->refused_) {
            if (input.contains(ch)) {
                edit_->Refuse(edit_->refusedWhy_);
                return Invalid;
            }
        }
        cp949::Conversion c = cp949::FromUtf8(input.toStdString());
        if (!c.ok) {
            edit_->Refuse(c.error);
            return Invalid;
        }
        size_t bytes = c.text.size();
        if (bytes > edit_->ShownLimit() && bytes > edit_->acceptedBytes_) {
            edit_->Refuse(CMemoEdit::OverLimitText(edit_->limit_));
            return Invalid;
        }
        return Acceptable;
    }

private:
    CMemoEdit* edit_;
};

CMemoEdit::CMemoEdit(int controlId, size_t byteLimit, QWidget* parent)
    : QLineEdit(parent), id_(controlId), limit_(byteLimit), meter_(new QLabel(this)) {
    setValidator(new MemoByteValidator(this));
    meter_->setObjectName("byteMeter");
    meter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    meter_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Grey while there is room, red and bold once every byte is used.
    meter_->setStyleSheet("QLabel { color: palette(mid); } QLabel[full=\"true\"] { color: #c00000; font-weight: bold; }");
    // Room for the widest meter, "29/29", so the text never runs under it.
    setTextMargins(0, 0, fontMetrics().horizontalAdvance(QString("%1/%1 ").arg(limit_)) + 4, 0);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        acceptedBytes_ = cp949::FromUtf8(text.toStdString()).text.size();
        UpdateMeter();
    });
    UpdateMeter();
}

std::string CMemoEdit::OverLimitText(size_t limit) {
    return "Please enter no more than " + std::to_string(limit) + " bytes; a Korean character takes 2.";
}

QString CMemoEdit::MeterText() const { return meter_->text(); }

size_t CMemoEdit::ShownLimit() const {
    return !stored_.isNull() && text() == stored_ ? std::max(limit_, storedBytes_) : limit_;
}

bool CMemoEdit::MeterFull() const { return meter_->property("full").toBool(); }

void CMemoEdit::UpdateMeter() {
    const size_t limit = ShownLimit();
    meter_->setText(QString("%1/%2").arg(acceptedBytes_).arg(limit));
    bool full = acceptedBytes_ >= limit;
    if (full == MeterFull()) return;
    meter_->setProperty("full", full);
    meter_->style()->unpolish(meter_);  // the style sheet looks at the property again
    meter_->style()->polish(meter_);
}

void CMemoEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    meter_->setGeometry(0, 0, width() - 6, height());
}

void CMemoEdit::SetTextFromProgram(const QString& text) {
    stored_ = QString();
    fromProgram_ = true;
    setText(text);
    fromProgram_ = false;
}

void CMemoEdit::ShowStoredText(const QString& text) {
    fromProgram_ = true;
    stored_ = text.isNull() ? QString("") : text;
    storedBytes_ = cp949::FromUtf8(text.toStdString()).text.size();
    setText(text);
    fromProgram_ = false;
    UpdateMeter();
}

void CMemoEdit::PasteText(const QString& text) {
    if (text.isEmpty()) return;
    // insert() replaces the selection and goes through the validator, as typing does.
    insert(text);
}

void CMemoEdit::SetRefusedCharacters(const QString& characters, const std::string& why) {
    refused_ = characters;
    refusedWhy_ = why;
}

void CMemoEdit::Refuse(const std::string& why) const { platform::services().status->Show(why); }

bool CMemoEdit::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
        if (tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            bool back = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            emit editComplete(id_, back ? BackTab : Tab);
            return true;
        }
    }
    // Leave the paste keys to the window's Paste command, which appends to the box.
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste)) {
        e->ignore();
        return false;
    }
    // Undo and redo take back the box's own typing first; with none to take back, the
    // keys go to the window's Undo and Redo, which take back the last edit of the list.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        const QKeySequence typed(key->keyCombination());
        const bool undo = key->matches(QKeySequence::Undo) || typed == QKeySequence("Alt+Backspace");
        const bool redo = key->matches(QKeySequence::Redo) || typed == QKeySequence("Ctrl+Y");
        if ((undo && !isUndoAvailable()) || (redo && !isRedoAvailable())) {
            e->ignore();
            return false;
        }
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
