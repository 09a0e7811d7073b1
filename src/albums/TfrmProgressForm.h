#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class BusyIndicator;

// The small borderless window the tree builder shows while it builds: a label, a searching
// animation and a progress bar. Position changes let pending events run only while the window
// is active, so an inactive window costs the build nothing. Closing it deletes it.
class TfrmProgressForm final : public QWidget {
    Q_OBJECT
public:
    explicit TfrmProgressForm(QWidget* parent = nullptr);

    void SetActive(bool active);
    bool active() const { return m_active; }
    void SetMax(int max);
    void SetPosition(int position);
    void StepBy(int step);

    QProgressBar* bar() const { return m_bar; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void processIfActive();

    QLabel* m_label;
    BusyIndicator* m_animation;
    QProgressBar* m_bar;
    bool m_active = false;
};
