#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

// The notice window behind ShowNotice: 224 x 131 (taller for long texts), a horizontal gradient
// in the colour of its kind, slides up at the bottom right of the primary screen's work area,
// rests two seconds and slides away, then frees itself. It never takes the focus.
//
// The timers drive slideInTick(), endRest() and slideOutTick(); tests may call them directly
// without running the event loop to walk through the motion step by step.
class TMsgForm final : public QWidget {
    Q_OBJECT
public:
    enum class Phase { SlidingIn, Resting, SlidingOut, Closed };

    TMsgForm();
    ~TMsgForm() override;

    // Puts the text into the window, applies the kind's look and grows the window for the text.
    void setMessage(const QString& text, int kind);
    // Shows the window without activating it at its start place, six pixels in view.
    void start();

    QString message() const { return m_text; }
    int kind() const { return m_kind; }
    Phase phase() const { return m_phase; }
    const QImage& background() const { return m_background; }

    void slideInTick();
    void endRest();  // the rest is over or the user clicked: slide out from where it is
    void slideOutTick();

    // Every notice window in existence, oldest first.
    static const QList<TMsgForm*>& liveNotices();
    // Frees every notice still alive; run when the program ends.
    static void freeAll();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintBackground();
    static QRect workArea();

    QString m_text;
    int m_kind = 1;
    QImage m_background;
    QColor m_leftColour;
    QColor m_rightColour;
    int m_ticks = 0;
    int m_step = 0;
    Phase m_phase = Phase::SlidingIn;
    QTimer m_slideIn;
    QTimer m_rest;
    QTimer m_slideOut;
    QLabel* m_lblMsg = nullptr;
    QLabel* m_lblIcon = nullptr;
    QLabel* m_imgError = nullptr;
    QLabel* m_imgWarning = nullptr;
    QLabel* m_imgInfo = nullptr;
};
