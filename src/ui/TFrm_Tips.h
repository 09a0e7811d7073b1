#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QString>

class QCheckBox;
class QEvent;
class QLabel;
class QPushButton;
class QShowEvent;
class QTextBrowser;

namespace db {
class Connection;
class Query;
}  // namespace db

// The daily tips window: one tip at a time from the template library "Model.dll" in the
// program directory, a "next" button, a link to the maker's web site, and the switch that
// says whether the tips are shown at start-up.
//
// The switch is the open library's parameter "每日一帖"; the window reaches it only through
// the two functions it is given, so it needs nothing of the library store:
//
//   TFrm_Tips tips([&] { return lib.ReadParameter(QStringLiteral("每日一帖")); },
//                  [&](const QString& v) { lib.WriteParameter(QStringLiteral("每日一帖"), v); },
//                  this);
//   tips.exec();
//
// Showing reads the switch ("True" ticks the box) and opens the template; closing, however
// it happens, writes "True" or "False". A template that cannot be opened leaves the tip area
// empty and says so in a notice; one without tips leaves it empty silently.
class TFrm_Tips final : public QDialog {
    Q_OBJECT
public:
    using ReadSwitch = std::function<QString()>;
    using WriteSwitch = std::function<void(const QString&)>;

    TFrm_Tips(ReadSwitch readSwitch, WriteSwitch writeSwitch, QWidget* parent = nullptr);
    ~TFrm_Tips() override;

    // The tip shown now; empty when none is.
    QString currentTip() const;
    // 1-based number of the tip row shown; 0 when there is none.
    int currentRow() const;
    int tipCount() const;

    void BtnNextClick();
    void lbSiteClick();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void openTemplate();
    void showNextTip();
    void FormClose();
    void buildLayout();

    ReadSwitch m_readSwitch;
    WriteSwitch m_writeSwitch;
    std::unique_ptr<db::Connection> ADOConnOther;
    std::unique_ptr<db::Query> QryOther;

    QTextBrowser* RichEdit1 = nullptr;
    QLabel* lbSite = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BtnNext = nullptr;
    QPushButton* BtnClose = nullptr;
};
