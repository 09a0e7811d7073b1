#include "support/ModalDialogs.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "support/TreeNodes.h"

namespace testsupport {
namespace {

constexpr int kPollInterval = 10;      // ms
constexpr int kGiveUpAfter = 5000;     // ms

// The test function and data row running now.
QByteArray currentTest() {
    QByteArray test(QTest::currentTestFunction());
    test += '/';
    if (const char* tag = QTest::currentDataTag()) test += tag;
    return test;
}

void pollForModal(std::function<bool(const QWidget*)> matches, ModalAction act) {
    auto* timer = new QTimer;
    timer->setInterval(kPollInterval);
    QObject::connect(
        timer, &QTimer::timeout, timer,
        [timer, matches = std::move(matches), act = std::move(act), test = currentTest(),
         deadline = QDeadlineTimer(kGiveUpAfter)] {
            const bool sameTest = currentTest() == test;
            QWidget* modal = sameTest ? QApplication::activeModalWidget() : nullptr;
            const bool found = modal && matches(modal);
            if (!found && sameTest && !deadline.hasExpired()) return;
            timer->stop();
            if (found) act(modal);
            timer->deleteLater();
        });
    timer->start();
}

}  // namespace

void whenModal(const char* className, ModalAction act) {
    pollForModal([className](const QWidget* w) { return w->inherits(className); },
                 std::move(act));
}

void whenModalNamed(const QString& objectName, ModalAction act) {
    pollForModal([objectName](const QWidget* w) { return w->objectName() == objectName; },
                 std::move(act));
}

void answerAlbumPicker(const QString& caption) {
    whenModalNamed(QStringLiteral("TFrm_Select"), [caption](QWidget* picker) {
        if (caption.isEmpty()) {
            picker->findChild<QPushButton*>(QStringLiteral("BtnClose"))->click();
            return;
        }
        auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        if (QTreeWidgetItem* node = findNode(tree, caption)) tree->setCurrentItem(node);
        picker->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        // No such album: do not hang.
        if (auto* dialog = qobject_cast<QDialog*>(picker); dialog && dialog->isVisible())
            dialog->reject();
    });
}

ModalWatchdog::ModalWatchdog() : m_timer(std::make_unique<QTimer>()) {
    QObject::connect(m_timer.get(), &QTimer::timeout, m_timer.get(), [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            m_opened << modal->objectName();
            modal->close();
        }
    });
    m_timer->start(20);
}

ModalWatchdog::~ModalWatchdog() = default;

void ModalWatchdog::stop() { m_timer->stop(); }

}  // namespace testsupport
