#pragma once

#include <QDialog>

class QEvent;
class QKeyEvent;
class QLabel;
class QTextEdit;
class QPushButton;
class QShowEvent;

// The About window: the program's version, a short description and the maker's contact
// links. It also keeps the key trail: the letters typed while it has the focus, collected
// program-wide across openings; a particular word typed shows a hidden message.
//
// Shown modally and freed by the "关于" command: TFrm_About about(this); about.exec();
class TFrm_About final : public QDialog {
    Q_OBJECT
public:
    explicit TFrm_About(QWidget* parent = nullptr);
    ~TFrm_About() override;

    // The version label's text for a "major.minor.release.build" version; the bare
    // "程序版本：" when the version is empty or does not start with a number.
    static QString versionText(const QString& version);

    // The letters collected so far in this run, upper case.
    static QString keyTrail();
    // Empties the trail, as at program start.
    static void resetKeyTrail();
    // The word that shows the hidden message, and the message.
    static QString triggerWord();
    static QString hiddenMessage();

    // The link labels' click handlers.
    void lbWebSiteClick();
    void lbMailClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormKeyPress(const QKeyEvent* event);
    void buildLayout();

    QLabel* lbVersion = nullptr;
    QTextEdit* Memo1 = nullptr;
    QLabel* lbMail = nullptr;
    QLabel* lbWebSite = nullptr;
    QPushButton* BtnOK = nullptr;
};
