#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The two-bar progress window: a text, an outer count and an inner count, in a borderless
// 368 x 77 window on top of the others, centred on the screen. It takes no input.
class TFrm_Wait2 final : public QWidget {
    Q_OBJECT
public:
    TFrm_Wait2();

    void start(const QString& text, int outerMaximum);
    void setProgress(int outerPosition, int innerMaximum, int innerPosition);

private:
    QLabel* m_label = nullptr;
    QProgressBar* m_outer = nullptr;
    QProgressBar* m_inner = nullptr;
    int m_outerMaximum = 100;
};
