#include "albums/TFrmAlbum_New.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "albums/AlbumQueries.h"
#include "albums/TFrm_Select.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeError.h"
#include "platform/db/DbError.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"

TFrmAlbum_New::TFrmAlbum_New(store::PhotoLibrary& library, QWidget* parent)
    : TFrmBase(parent), m_library(library) {
    setObjectName(QStringLiteral("TFrmAlbum_New"));
    setWindowTitle(QStringLiteral("新建相册"));
    setFixedSize(385, 237);

    ui::label(this, QStringLiteral("所属相册："), 24, 23);
    Edit2 = ui::lineEdit(this, "Edit2", {96, 20, 237, 20});
    Edit2->setReadOnly(true);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setToolTip(QStringLiteral("选择所属相册"));
    SpeedButton1->setGeometry(336, 19, 24, 22);

    ui::label(this, QStringLiteral("相册名称："), 24, 55);
    Edit1 = ui::lineEdit(this, "Edit1", {96, 52, 264, 20});

    ui::label(this, QStringLiteral("相册说明："), 24, 87);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(96, 84, 264, 98);

    BtnSave = ui::button(this, QStringLiteral("确定(&O)"), "BtnSave", {192, 197, 80, 26});
    BtnClose = ui::button(this, QStringLiteral("取消(&C)"), "BtnClose", {280, 197, 80, 26});

    setTabOrder(Edit1, Memo1);
    setTabOrder(Memo1, BtnSave);
    setTabOrder(BtnSave, BtnClose);
    Edit1->setFocus();

    connect(BtnSave, &QPushButton::clicked, this, &TFrmAlbum_New::BtnSaveClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrmAlbum_New::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFrmAlbum_New::SpeedButton1Click);
}

void TFrmAlbum_New::setParentAlbum(const QString& id, const QString& caption) {
    m_parentId = id;
    m_parentCaption = caption;
    Edit2->setText(caption);
}

void TFrmAlbum_New::setAlbumName(const QString& name) { Edit1->setText(name); }

void TFrmAlbum_New::setRemark(const QString& remark) { Memo1->setPlainText(remark); }

QString TFrmAlbum_New::albumName() const { return Edit1->text().trimmed(); }

QString TFrmAlbum_New::remark() const { return Memo1->toPlainText().trimmed(); }

void TFrmAlbum_New::BtnSaveClick() {
    if (albumName().isEmpty()) {
        ui::dialogs::inform(this, QStringLiteral("请填写相册名称，以便系统进行正确管理！"));
        return;
    }
    if (Edit2->text().trimmed().isEmpty()) {
        ui::dialogs::inform(this, QStringLiteral("请选择所属的相册，以便系统进行正确管理！"));
        return;
    }
    accept();
}

void TFrmAlbum_New::SpeedButton1Click() {
    QString failure;
    try {
        // The picker is the program's one instance; it belongs to the window this dialog
        // belongs to, so it outlives the dialog.
        TFrm_Select* picker = TFrm_Select::Instance(m_library, parentWidget());
        if (picker->exec() != QDialog::Accepted) {
            ui::ShowNotice(QStringLiteral("您没有选择所属相册，请选择！"), ui::NoticeInfo);
            return;
        }
        QString chosen;
        picker->treeMaker()->GetSelectedId(chosen);
        if (!m_ownId.isEmpty() &&
            (chosen == m_ownId || albums::IsAncestorAlbum(m_library, m_ownId, chosen))) {
            ui::ShowNotice(QStringLiteral("该相册的所属相册不应该为自己或者自己的子相册！"),
                           ui::NoticeInfo);
            return;
        }
        setParentAlbum(chosen, picker->selectedCaption());
        return;
    } catch (const db::DbError& e) {
        failure = e.message();
    } catch (const albums::TreeError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    // A picker that failed is not reused; the error is reported here because a button's
    // handler must not let it out into the event loop.
    TFrm_Select::FreeInstance();
    ui::dialogs::message(this, QStringLiteral("提示信息"), failure, QMessageBox::Critical);
}
