#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The one-bar wait window: a borderless 368 x 54 window on top of the others, centred on the
// screen, showing either a text (the panel's caption) or a progress bar. It takes no input.
class TFrm_Wait final : public QWidget {
    Q_OBJECT
public:
    TFrm_Wait();

    void showText(const QString& text);       // hides the bar, shows the text
    void showBar(int maximum);                // shows the bar at position 0
    void setPosition(int position);
    int maximum() const { return m_maximum; }

    // Sets a bar the way the program's progress bars behave: a position beyond the range shows
    // an empty or full bar (QProgressBar would ignore it), and a maximum of 0 or less shows an
    // empty bar rather than a busy indicator.
    static void setBar(QProgressBar* bar, int maximum, int position);

private:
    QLabel* m_panel = nullptr;
    QProgressBar* m_bar = nullptr;
    int m_maximum = 100;
};
