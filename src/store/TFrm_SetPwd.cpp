#include "store/TFrm_SetPwd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "store/Cipher.h"
#include "store/Password.h"
#include "ui/Notice.h"

namespace {

QLabel* placeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLineEdit* passwordEdit(QWidget* parent, const char* name, int x, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edit->setGeometry(x, y, 177, 20);
    return edit;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name, int x, int y) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setGeometry(x, y, 80, 26);
    return pushButton;
}

}  // namespace

TFrm_SetPwd::TFrm_SetPwd(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("TFrm_SetPwd"));
    setWindowTitle(QStringLiteral("设置照片库访问密码"));
    setFixedSize(319, 177);

    placeLabel(this, QStringLiteral("请输入照片库访问密码："), 26, 22);
    placeLabel(this, QStringLiteral("口令："), 48, 55);
    Edit1 = passwordEdit(this, "Edit1", 88, 51);
    placeLabel(this, QStringLiteral("确认："), 48, 87);
    Edit2 = passwordEdit(this, "Edit2", 88, 83);

    BtnOK = button(this, QStringLiteral("确认(&O)"), "BtnOK", 56, 131);
    BtnClose = button(this, QStringLiteral("取消(&C)"), "BtnClose", 192, 131);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BtnOK);
    setTabOrder(BtnOK, BtnClose);
    Edit1->setFocus();

    connect(BtnOK, &QPushButton::clicked, this, &TFrm_SetPwd::BtnOKClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrm_SetPwd::reject);
}

QString TFrm_SetPwd::password() const { return store::trimBlanks(Edit1->text()); }

void TFrm_SetPwd::BtnOKClick() {
    const QString first = password();
    if (first != store::trimBlanks(Edit2->text())) {
        ui::ShowNotice(
            QStringLiteral("您两次输入的新密码不一致，请再次确认！（注意：密码区分大小写）"),
            ui::NoticeInfo);
        return;
    }
    if (!store::canEncipher(first)) {
        // The cipher works on code-page bytes; a character without one is refused here
        // rather than stored as a different password.
        ui::ShowNotice(QStringLiteral("密码中含有无法保存的字符，请换用其他字符！"),
                       ui::NoticeWarning);
        return;
    }
    accept();
}
