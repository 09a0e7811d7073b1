#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "app/TFrm_Main.h"
#include "ui/Fonts.h"
#include "ui/TMsgForm.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fotarix"));
    QApplication::setApplicationDisplayName(QStringLiteral("晴窗影册Fotarix 2009"));
    QApplication::setApplicationVersion(QStringLiteral(FOTARIX_VERSION));
    QApplication::setFont(ui::simSunFont(12));

    int result = 0;
    {
        TFrm_Main window;
        if (window.terminated()) {
            // Start-up failed: let the notices that say why finish before the program ends.
            if (!TMsgForm::liveNotices().isEmpty()) {
                QTimer poll;
                QObject::connect(&poll, &QTimer::timeout, &application, [] {
                    if (TMsgForm::liveNotices().isEmpty()) QCoreApplication::quit();
                });
                poll.start(100);
                application.exec();
            }
            TMsgForm::freeAll();
            return 1;
        }
        // Without a window manager a maximise request is not honoured: fill the screen anyway.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window.setGeometry(screen->availableGeometry());
        window.showMaximized();
        result = application.exec();
    }
    TMsgForm::freeAll();
    return result;
}
