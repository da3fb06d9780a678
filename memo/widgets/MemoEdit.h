#pragma once
// The entry boxes of the memo page. Typing is held to a limit in CP949 bytes (a Hangul
// syllable counts 2) and to characters CP949 can hold; Enter, Tab, the Return key and
// the loss of focus are reported to the page, which decides what they mean. A meter at
// the box's right end shows the bytes used and allowed ("9/14"), marked when full.
#include <QLineEdit>

class QLabel;

class CMemoEdit : public QLineEdit {
    Q_OBJECT
public:
    // The reasons editComplete carries.
    enum Reason {
        LostFocus = 0,
        Tab = 9,      // Tab or Shift+Tab was typed
        Enter = 13,   // the Enter character: follows ReturnKey for one key press
        ReturnKey = 1 // the Return (or keypad Enter) key went down
    };

    CMemoEdit(int controlId, size_t byteLimit, QWidget* parent = nullptr);

    int ControlId() const { return id_; }
    size_t ByteLimit() const { return limit_; }

    // What a person is told when a text is over the limit.
    static std::string OverLimitText(size_t limit);

    QString MeterText() const;
    bool MeterFull() const;  // the text uses every byte (or more, when put there by the program)

    // Shows text put there by the program (a loaded row, pasted text). It is not held to
    // the typing limit; the commits check the length.
    void SetTextFromProgram(const QString& text);

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
    QLabel* meter_;
};
