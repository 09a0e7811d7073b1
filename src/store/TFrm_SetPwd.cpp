#include "store/TFrm_SetPwd.h"

#include <QLineEdit>
#include <QPushButton>

#include "store/Cipher.h"
#include "store/Password.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"

TFrm_SetPwd::TFrm_SetPwd(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("TFrm_SetPwd"));
    setWindowTitle(QStringLiteral("设置照片库访问密码"));
    setFixedSize(319, 177);

    ui::label(this, QStringLiteral("请输入照片库访问密码："), 26, 22);
    ui::label(this, QStringLiteral("口令："), 48, 55);
    Edit1 = ui::passwordEdit(this, "Edit1", {88, 51, 177, 20});
    ui::label(this, QStringLiteral("确认："), 48, 87);
    Edit2 = ui::passwordEdit(this, "Edit2", {88, 83, 177, 20});

    BtnOK = ui::button(this, QStringLiteral("确认(&O)"), "BtnOK", {56, 131, 80, 26});
    BtnClose = ui::button(this, QStringLiteral("取消(&C)"), "BtnClose", {192, 131, 80, 26});

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
