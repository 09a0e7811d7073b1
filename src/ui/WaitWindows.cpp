#include "ui/WaitWindows.h"

#include <QCoreApplication>
#include <QPointer>

#include "ui/TFrm_Wait.h"
#include "ui/TFrm_Wait2.h"

namespace ui {
namespace {

QPointer<TFrm_Wait>& waitInstance()
{
    static QPointer<TFrm_Wait> instance;
    return instance;
}

QPointer<TFrm_Wait2>& dualInstance()
{
    static QPointer<TFrm_Wait2> instance;
    return instance;
}

// A window still open when the program ends goes with it.
template <typename Window>
void closeAtExit(Window* window, void (*close)())
{
    if (auto* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, window, close);
}

template <typename Window>
void closeAndForget(QPointer<Window>& window)
{
    if (window) {
        window->close();
        delete window.data();
    }
    window = nullptr;
}

}  // namespace

void ShowWaitWindow(const QString& mode, const QString& text, int max)
{
    QPointer<TFrm_Wait>& w = waitInstance();
    try {
        if (!w) {
            w = new TFrm_Wait;
            closeAtExit(w.data(), &CloseWaitWindow);
        }
        if (mode == QLatin1String("1"))
            w->showText(text);
        else if (mode == QLatin1String("2"))
            w->showBar(max);
        w->show();
        w->raise();
    } catch (...) {
        // The operation goes on without a wait window.
        delete w.data();
        w = nullptr;
    }
}

void SetWaitProgress(int position)
{
    if (TFrm_Wait* w = waitInstance())
        w->setPosition(position);
}

void CloseWaitWindow()
{
    closeAndForget(waitInstance());
}

void ShowDualProgress(const QString& text, int outerMax)
{
    QPointer<TFrm_Wait2>& w = dualInstance();
    try {
        if (!w) {
            w = new TFrm_Wait2;
            closeAtExit(w.data(), &CloseDualProgress);
        }
        w->start(text, outerMax);
        w->show();
        w->raise();
    } catch (...) {
        delete w.data();
        w = nullptr;
    }
}

void SetDualProgress(int outerPosition, int innerMax, int innerPosition)
{
    if (TFrm_Wait2* w = dualInstance())
        w->setProgress(outerPosition, innerMax, innerPosition);
}

void CloseDualProgress()
{
    closeAndForget(dualInstance());
}

TFrm_Wait* waitWindow()
{
    return waitInstance();
}

TFrm_Wait2* dualProgressWindow()
{
    return dualInstance();
}

}  // namespace ui
