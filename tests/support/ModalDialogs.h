#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QStringList>

class QString;
class QTimer;
class QWidget;

// Answering the modal dialogs a test makes the program open. Each call arms a poll that
// waits for the next modal window of the kind asked for, once exec() has shown it, and runs
// the action on it once. The poll gives up after five seconds, and also when the test
// function (or its data row) that armed it has ended, so that an action meant for one test
// never runs in another.
namespace testsupport {

using ModalAction = std::function<void(QWidget*)>;

// A modal window whose class is className or derives from it ("QDialog" takes any dialog);
// className must outlive the poll (a literal, or a class's own meta-object name).
void whenModal(const char* className, ModalAction act);
// A modal window whose objectName() is objectName.
void whenModalNamed(const QString& objectName, ModalAction act);
// A modal Dialog, handed to the action as one.
template <typename Dialog>
void whenModal(std::function<void(Dialog*)> act) {
    whenModal(Dialog::staticMetaObject.className(),
              [act = std::move(act)](QWidget* w) { act(static_cast<Dialog*>(w)); });
}

// Answers the next album picker (TFrm_Select): chooses the album captioned caption and
// presses OK, or presses Cancel for an empty caption. A caption no album has cancels the
// picker, so that the test cannot hang on it.
void answerAlbumPicker(const QString& caption);

// While it runs, every modal window that comes up is recorded by its objectName() and
// closed, so that a fault that opens a dialog cannot hang the test. Runs from construction
// until stop().
class ModalWatchdog final {
public:
    // Neither copied nor moved: the timer's slot refers to this object.
    ModalWatchdog();
    ~ModalWatchdog();

    void stop();
    QStringList opened() const { return m_opened; }

private:
    std::unique_ptr<QTimer> m_timer;
    QStringList m_opened;
};

}  // namespace testsupport
