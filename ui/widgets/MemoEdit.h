#pragma once
// The entry boxes of the memo page (name, telephone, e-mail) and the song page (title,
// singer, number). Typing is held to a limit in CP949 bytes (a Hangul syllable counts 2)
// and to characters CP949 can hold; Enter, Tab, the Return key and the loss of focus are
// reported to the page, which decides what they mean. A meter at the box's right end
// shows the bytes used and allowed ("9/14"), marked when full.
#include <QLineEdit>

class QLabel;

class CMemoEdit : public QLineEdit {
    Q_OBJECT
public:
    // The reasons editComplete carries.
    enum Reason {
        LostFocus = 0,
        Tab = 9,      // Tab was typed
        BackTab = 8,  // Shift+Tab was typed
        Enter = 13,   // the Enter character: follows ReturnKey for one key press
        ReturnKey = 1 // the Return (or keypad Enter) key went down
    };

    CMemoEdit(int controlId, size_t byteLimit, QWidget* parent = nullptr);

    int ControlId() const { return id_; }
    size_t ByteLimit() const { return limit_; }

    // What a person is told when a text is over the limit.
    static std::string OverLimitText(size_t limit);

    // The limit the meter shows and the commits hold a changed text to; text shown as
    // the row stores it may be longer (a contact read from a file) while it is unchanged.
    size_t ShownLimit() const;
    QString MeterText() const;
    bool MeterFull() const;  // the text uses every byte (or more, when put there by the program)

    // Shows text put there by the program. It is not held to the typing limit; the
    // commits check the length.
    void SetTextFromProgram(const QString& text);
    // Shows a field as the table stores it: the meter allows its length while the text
    // stays as it is.
    void ShowStoredText(const QString& text);

    // Pasted text replaces the selection, as typing does, and passes the same checks: a
    // line break or tab becomes a space, and a text over the limit or with a character
    // CP949 cannot hold is refused with the same message.
    void PasteText(const QString& text);

    // Characters the box refuses, and the message that says why (song fields: "*").
    void SetRefusedCharacters(const QString& characters, const std::string& why);

signals:
    void editComplete(int controlId, int reason);
    // Ctrl+V or Shift+Insert reached the box without a window-wide shortcut taking it.
    void pasteRequested();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class MemoByteValidator;
    // Why a change was refused, shown on the status line.
    void Refuse(const std::string& why) const;
    void UpdateMeter();

    int id_;
    size_t limit_;
    size_t acceptedBytes_ = 0;  // CP949 length of the text as it stands
    bool fromProgram_ = false;
    QString stored_;            // the text as the table stores it, while one is shown
    size_t storedBytes_ = 0;
    QString refused_;
    std::string refusedWhy_;
    QLabel* meter_;
};
