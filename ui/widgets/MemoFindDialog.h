#pragma once
// The small modeless find dialog of the memo and song pages: the text, the direction
// (Down preset) and Find Next. It stays open between searches and deletes itself when
// closed.
#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;

class CMemoFindDialog : public QDialog {
    Q_OBJECT
public:
    CMemoFindDialog(const QString& proposed, QWidget* parent);

    QLineEdit* FindText() const { return text_; }
    QRadioButton* UpButton() const { return up_; }
    QRadioButton* DownButton() const { return down_; }
    QPushButton* FindNextButton() const { return findNext_; }

    // The status-line text a page shows when a search finds nothing.
    static std::string NotFoundText(const QString& text);

signals:
    void findNext(const QString& text, bool down);

private:
    QLineEdit* text_;
    QRadioButton* up_;
    QRadioButton* down_;
    QPushButton* findNext_;
};
