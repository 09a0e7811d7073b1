#include "photos/TFrm_RecycleBin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "albums/TFrm_Select.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeError.h"
#include "photos/PreviewDecode.h"
#include "photos/RecycleBin.h"
#include "platform/db/DbError.h"
#include "platform/image/ImageIo.h"
#include "platform/image/ImageView.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"

namespace photos {
namespace {

const QColor kEvenRow(244, 252, 227);
const QColor kOddRow(254, 255, 243);
const QColor kCream(255, 251, 240);

const QString kRestoreFailed = QStringLiteral("从回收站恢复照片时出现错误，请重试！");

const QSize kButtonSize(80, 25);

}  // namespace

TFrm_RecycleBin::TFrm_RecycleBin(store::PhotoLibrary& library, QWidget* parent)
    : TFrmBase(parent), m_library(library) {
    setObjectName(QStringLiteral("TFrm_RecycleBin"));
    setWindowTitle(QStringLiteral("照片回收站"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint |
                   Qt::WindowCloseButtonHint);
    resize(611, 389);

    ListView1 = new QTableWidget(0, ColumnCount, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHorizontalHeaderLabels({QStringLiteral("照片名称"), QStringLiteral("照片说明"),
                                          QStringLiteral("id"), QStringLiteral("tempfileName")});
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setShowGrid(true);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(18);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->setColumnWidth(NameColumn, 150);
    ListView1->setColumnWidth(RemarkColumn, 173);
    ListView1->setColumnHidden(IdColumn, true);
    ListView1->setColumnHidden(TempFileColumn, true);
    ListView1->setMinimumWidth(330);

    Label1 = ui::label(this, QStringLiteral("照片缩略图预览："), "Label1");
    ImageEn1 = new image::ImageView(this);
    ImageEn1->setObjectName(QStringLiteral("ImageEn1"));
    ImageEn1->setBackground(kCream);
    ImageEn1->viewport()->setCursor(Qt::PointingHandCursor);

    BtnResume = ui::button(this, QStringLiteral("恢复(&R)"), "BtnResume", kButtonSize);
    BitBtn1 = ui::button(this, QStringLiteral("彻底删除"), "BitBtn1", kButtonSize);
    BtnClose = ui::button(this, QStringLiteral("关闭(&C)"), "BtnClose", kButtonSize);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusText = new QLabel(StatusBar1);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusText->setMinimumWidth(500);
    StatusBar1->addWidget(StatusText, 1);

    auto* preview = new QVBoxLayout;
    preview->addWidget(Label1);
    preview->addWidget(ImageEn1, 1);
    auto* panes = new QHBoxLayout;
    panes->addWidget(ListView1, 5);
    panes->addLayout(preview, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnResume);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BtnClose);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 4);
    body->addLayout(panes, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(StatusBar1);

    connect(ListView1, &QTableWidget::itemSelectionChanged, this, &TFrm_RecycleBin::ListView1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrm_RecycleBin::BitBtn1Click);
    connect(BtnResume, &QPushButton::clicked, this, &TFrm_RecycleBin::BtnResumeClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrm_RecycleBin::reject);
}

TFrm_RecycleBin::~TFrm_RecycleBin() = default;

void TFrm_RecycleBin::showEvent(QShowEvent* event) {
    TFrmBase::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFrm_RecycleBin::FormShow() {
    std::vector<BinPhoto> photos;
    try {
        photos = recycleBinPhotos(m_library);
    } catch (const db::DbError& e) {
        ui::ShowNotice(e.message(), ui::NoticeError);
    }
    {
        const QSignalBlocker quiet(ListView1);
        ListView1->clearContents();
        ListView1->setRowCount(static_cast<int>(photos.size()));
        for (int row = 0; row < ListView1->rowCount(); ++row) {
            const BinPhoto& photo = photos[static_cast<size_t>(row)];
            ListView1->setItem(row, NameColumn, new QTableWidgetItem(photo.name));
            ListView1->setItem(row, RemarkColumn, new QTableWidgetItem(photo.remark));
            ListView1->setItem(row, IdColumn, new QTableWidgetItem(photo.id));
            ListView1->setItem(row, TempFileColumn, new QTableWidgetItem(QString()));
        }
        paintRows();
    }
    StatusText->setText(QStringLiteral("  照片库回收站中共有 ") +
                        QString::number(ListView1->rowCount()) +
                        QStringLiteral(" 张照片；您可进行恢复和彻底删除操作，在回收站中删除的照片将无法恢复"));
    ImageEn1->clear();
    if (ListView1->rowCount() > 0) {
        {
            const QSignalBlocker quiet(ListView1);
            ListView1->selectRow(0);
        }
        ListView1Click();
    }
}

void TFrm_RecycleBin::ListView1Click() {
    if (selectedRow() < 0) return;
    QCoreApplication::processEvents();
    const int row = selectedRow();  // events may have changed the list
    if (row < 0) return;
    QTableWidgetItem* tempItem = ListView1->item(row, TempFileColumn);
    QString path = tempItem->text().trimmed();
    // A file written before is shown again; one that went away is written anew.
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        try {
            path = writePhotoTempFile(m_library, ListView1->item(row, IdColumn)->text());
        } catch (const db::DbError& e) {
            ui::ShowNotice(e.message(), ui::NoticeError);
            return;
        }
        if (path.isEmpty()) return;  // the photo's row is gone
        tempItem->setText(path);
    }
    showFile(path);
}

// Clears the preview, then shows the file with its width filling the preview, decoded once
// at the size it is shown.
void TFrm_RecycleBin::showFile(const QString& path) {
    ImageEn1->clear();
    const QSize full = probeImageSize(path);
    image::LoadOptions options;
    options.maxSize = decodeLimitFor(full, fitToWidthSize(ImageEn1, full));
    options.readMetadata = false;
    const image::LoadResult loaded = image::loadImage(path, options);
    if (!loaded.ok()) {
        ui::ShowNotice(loaded.error, ui::NoticeError);
        return;
    }
    ImageEn1->setDocument(loaded.document);
    ImageEn1->fitToWidth();
}

void TFrm_RecycleBin::BitBtn1Click() {
    if (refuseReadOnly()) return;
    const int row = selectedRow();
    if (row < 0) {
        ui::ShowNotice(QStringLiteral("请选择您要删除的照片，否则无法删除！"), ui::NoticeInfo);
        return;
    }
    const QString caption = ListView1->item(row, NameColumn)->text();
    const auto answer = ui::dialogs::message(
        this, QStringLiteral("删除照片？"),
        QStringLiteral("您真的要彻底删除照片【") + caption +
            QStringLiteral("】吗？（删除后将不能恢复，请慎重操作）"),
        QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    try {
        purgePhoto(m_library, ListView1->item(row, IdColumn)->text());
    } catch (const db::DbError&) {
        ui::ShowNotice(QStringLiteral("删除照片时出现错误，请重试！"), ui::NoticeError);
        return;
    }
    removeRow(row);
    ImageEn1->clear();
}

void TFrm_RecycleBin::BtnResumeClick() {
    if (refuseReadOnly()) return;
    QString albumId;
    try {
        // The picker belongs to the program: it outlives this window when it has an owner.
        QWidget* owner = parentWidget() ? parentWidget()->window() : this;
        TFrm_Select* picker = TFrm_Select::Instance(m_library, owner);
        if (picker->exec() != QDialog::Accepted) {
            ui::ShowNotice(QStringLiteral("您没有选择照片所属相册，无法恢复照片！"), ui::NoticeInfo);
            return;
        }
        picker->treeMaker()->GetSelectedId(albumId);
    } catch (const db::DbError&) {
        TFrm_Select::FreeInstance();
        ui::ShowNotice(kRestoreFailed, ui::NoticeError);
        return;
    } catch (const albums::TreeError&) {
        TFrm_Select::FreeInstance();
        ui::ShowNotice(kRestoreFailed, ui::NoticeError);
        return;
    }
    const int row = selectedRow();
    if (row < 0) {
        ui::ShowNotice(kRestoreFailed, ui::NoticeError);
        return;
    }
    try {
        restorePhoto(m_library, ListView1->item(row, IdColumn)->text(), albumId);
    } catch (const db::DbError&) {
        ui::ShowNotice(kRestoreFailed, ui::NoticeError);
        return;
    }
    const QString caption = ListView1->item(row, NameColumn)->text();
    removeRow(row);
    ui::ShowNotice(QStringLiteral("照片【") + caption + QStringLiteral("】恢复成功！"),
                   ui::NoticeInfo);
    ImageEn1->clear();
}

bool TFrm_RecycleBin::refuseReadOnly() {
    if (!m_library.readOnly()) return false;
    ui::dialogs::warn(this, QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
    return true;
}

int TFrm_RecycleBin::selectedRow() const {
    const QList<QTableWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->row();
}

// Takes the row out of the list, leaving nothing selected (the preview is cleared with it).
void TFrm_RecycleBin::removeRow(int row) {
    const QSignalBlocker quiet(ListView1);
    ListView1->removeRow(row);
    ListView1->clearSelection();
    paintRows();
}

// Report rows alternate their colours by position, so they are painted again after a removal.
void TFrm_RecycleBin::paintRows() {
    for (int row = 0; row < ListView1->rowCount(); ++row) {
        const QColor& colour = row % 2 == 0 ? kEvenRow : kOddRow;
        for (int column = 0; column < ColumnCount; ++column)
            if (QTableWidgetItem* item = ListView1->item(row, column)) item->setBackground(colour);
    }
}

}  // namespace photos
