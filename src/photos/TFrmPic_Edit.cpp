#include "photos/TFrmPic_Edit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/image/ImageIo.h"
#include "platform/image/ImageView.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"

namespace {
constexpr QSize kPictureArea(233, 214);
}

TFrmPic_Edit::TFrmPic_Edit(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("FrmPic_Edit"));
    setWindowTitle(QStringLiteral("照片说明"));
    setSizeGripEnabled(true);
    resize(534, 355);

    m_picture = new image::ImageView(this);
    m_picture->setObjectName(QStringLiteral("ImageEnView1"));
    m_picture->setFixedSize(kPictureArea);

    auto* nameLabel = new QLabel(QStringLiteral("照片名称："), this);
    m_name = ui::lineEdit(this, "Edit1");
    nameLabel->setBuddy(m_name);
    auto* descriptionLabel = new QLabel(QStringLiteral("照片说明："), this);
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("Memo1"));
    descriptionLabel->setBuddy(m_description);

    m_save = ui::button(this, QStringLiteral("确定(&O)"), "BtnSave");
    m_close = ui::button(this, QStringLiteral("取消(&C)"), "BtnClose");
    connect(m_save, &QPushButton::clicked, this, &TFrmPic_Edit::BtnSaveClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QVBoxLayout;
    fields->addWidget(nameLabel);
    fields->addWidget(m_name);
    fields->addWidget(descriptionLabel);
    fields->addWidget(m_description, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_picture, 0, Qt::AlignTop);
    top->addLayout(fields, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

void TFrmPic_Edit::setPhotoName(const QString& name) { m_name->setText(name); }

void TFrmPic_Edit::setDescription(const QString& description) {
    m_description->setPlainText(description);
}

void TFrmPic_Edit::loadPicture(const QString& path) {
    m_picture->clear();
    if (path.trimmed().isEmpty()) return;
    const image::LoadResult loaded = image::decodeForDisplay(path, kPictureArea);
    if (!loaded.ok()) return;
    m_picture->setDocument(loaded.document);
    m_picture->fit();
}

QString TFrmPic_Edit::photoName() const { return m_name->text().trimmed(); }

QString TFrmPic_Edit::description() const { return m_description->toPlainText().trimmed(); }

void TFrmPic_Edit::BtnSaveClick() {
    if (photoName().isEmpty()) {
        ui::dialogs::inform(this, QStringLiteral("请填写照片名称，便于以后进行查找！"));
        return;
    }
    accept();
}
