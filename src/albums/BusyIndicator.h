#pragma once

#include <QWidget>

class QTimer;

// A 16 x 16 "searching" animation: a magnifying glass circling over a small screen. It runs
// from creation and advances on a timer, so it moves whenever events are processed.
class BusyIndicator final : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {16, 16}; }
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kFrames = 8;
    QTimer* m_timer;
    int m_frame = 0;
};
