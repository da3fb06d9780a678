#pragma once
// The band bar across the top of the frame: one row of bands, each with a gripper
// and a child bar (the page toolbars and the logo preview bar). Hidden bands take no
// room.
#include <QWidget>
#include <vector>

class QHBoxLayout;

class CBandBar : public QWidget {
    Q_OBJECT
public:
    explicit CBandBar(QWidget* parent = nullptr);
    // Appends a band holding child; answers its index.
    int AddBand(QWidget* child);
    void ShowBand(int index, bool show);
    bool IsBandShown(int index) const;
    QWidget* BandChild(int index) const;
    int BandCount() const { return static_cast<int>(bands_.size()); }

private:
    QHBoxLayout* row_;
    std::vector<QWidget*> bands_;
};
