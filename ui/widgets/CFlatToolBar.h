#pragma once
// A toolbar with a flat look: grey pictures at rest, the full-colour picture lifted one
// pixel under the mouse inside a light highlight box, pressed and checked buttons in
// other shades, disabled pictures tinted in the shadow colour. Each button carries a
// QAction for its command: its enabled and checked states are what the bar shows,
// and a click triggers it.
#include <QAction>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

class CFlatToolBar : public QWidget {
    Q_OBJECT
public:
    enum ImageKind { Normal, Hot, Disabled };

    explicit CFlatToolBar(QWidget* parent = nullptr);

    // The buttons: command ids in order, 0 for a separator; actionFor gives each
    // command's action. Sets the borders 1, 3, 6, 4 (left, top, right, bottom).
    template <class ActionFor>
    bool LoadToolBar(const std::vector<int>& ids, ActionFor actionFor) {
        std::vector<QAction*> actions;
        for (int id : ids) actions.push_back(id ? actionFor(id) : nullptr);
        return SetButtons(ids, actions);
    }
    bool SetButtons(const std::vector<int>& ids, const std::vector<QAction*>& actions);

    // Builds the grey, hot and disabled pictures from one bitmap of buttonWidth-wide
    // pictures with light grey (192, 192, 192) as the transparent colour.
    bool LoadImages(int buttonWidth, const QImage& bitmap);
    const std::vector<QImage>& Images(ImageKind kind) const { return images_[kind]; }

    void SetIndeterminate(int index, bool on);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    int CommandAt(int index) const { return buttons_.at(index).id; }
    QRect ButtonRect(int index) const { return buttons_.at(index).rect; }
    int ButtonAt(QPoint p) const;  // -1 over no button or a separator
    int HotItem() const { return hot_; }
    int PressedItem() const { return pressInside_ ? pressed_ : -1; }
    QSize ButtonSize() const { return imageSize_ + QSize(7, 7); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    struct Button {
        int id = 0;
        QPointer<QAction> action;
        QRect rect;
        int image = -1;
        bool indeterminate = false;
        bool separator() const { return id == 0; }
    };
    void Layout();
    void SetHot(int index);
    void PaintButton(QPainter& p, int index);

    std::vector<Button> buttons_;
    std::vector<QImage> images_[3];
    QSize imageSize_{35, 35};
    int hot_ = -1;
    int pressed_ = -1;  // the button the left mouse button went down on
    bool pressInside_ = false;  // and the cursor is still over it
};
