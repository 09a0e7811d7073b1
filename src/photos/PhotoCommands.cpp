#include "photos/PhotoCommands.h"

#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTreeWidget>

#include "albums/TTreeMaker.h"
#include "albums/TreeError.h"
#include "albums/TreeHooks.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoImport.h"
#include "photos/PhotoListModel.h"
#include "photos/PhotoListView.h"
#include "photos/ScanSourceDialog.h"
#include "photos/TFrmPic_Edit.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/image/ImageIo.h"
#include "platform/image/ImageView.h"
#include "platform/scan/SaneSession.h"
#include "platform/scan/Scanner.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/Utils.h"
#include "ui/WaitWindows.h"

namespace photos {
namespace {

constexpr int kRemarkSubItem = 2;
constexpr int kScanDpi = 150;

// Lets the wait window repaint. Clicks and keys wait until the command is done: they would
// otherwise run other commands inside the command's open transaction.
void repaintPending() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

bool isDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (!c.isDigit()) return false;
    return true;
}

QString requireId(const QString& id) {
    if (!isDigits(id)) throw db::DbError(QStringLiteral("无效的照片编号：") + id);
    return id;
}

// The list's rows with one changed or left out; the model is replaced in one go.
void replaceRows(PhotoListView* list, int changed, const QString* newCaption) {
    PhotoListModel* model = list->model();
    std::vector<PhotoRow> rows;
    rows.reserve(static_cast<size_t>(model->count()));
    for (int i = 0; i < model->count(); ++i) {
        if (i != changed) {
            rows.push_back(model->row(i));
        } else if (newCaption) {
            PhotoRow row = model->row(i);
            row.caption = *newCaption;
            rows.push_back(std::move(row));
        }
    }
    model->setRows(std::move(rows));
}

}  // namespace

PhotoCommands::PhotoCommands(const Context& context, QObject* parent)
    : QObject(parent), m_context(context) {}

bool PhotoCommands::run(int tag) {
    switch (tag) {
        case 104: AddPhotos(); return true;
        case 105: EditPhoto(); return true;
        case 106: DeletePhoto(); return true;
        default: return false;
    }
}

QString PhotoCommands::openImageFilter() {
    static const std::pair<const char*, const char*> kTable[] = {
        {"TIFF Bitmap (TIF;TIFF;FAX;G3N;G3F)", "*.tif;*.tiff;*.fax;*.g3n;*.g3f"},
        {"JPEG Bitmap (JPG;JPEG;JPE)", "*.jpg;*.jpeg;*.jpe"},
        {"PaintBrush (PCX)", "*.pcx"},
        {"Windows Bitmap (BMP;DIB;RLE)", "*.bmp;*.dib;*.rle"},
        {"Windows Icon (ICO)", "*.ico"},
        {"Windows Cursor (CUR)", "*.cur"},
        {"Portable Network Graphics (PNG)", "*.png"},
        {"Windows Metafile (WMF)", "*.wmf"},
        {"Enhanced Windows Metafile (EMF)", "*.emf"},
        {"Targa Bitmap (TGA;TARGA;VDA;ICB;VST;PIX)", "*.tga;*.targa;*.vda;*.icb;*.vst;*.pix"},
        {"Portable Pixmap, GrayMap, BitMap (PXM;PPM;PGM;PBM)", "*.pxm;*.ppm;*.pgm;*.pbm"},
        {"Wireless Bitmap (WBMP)", "*.wbmp"},
        {"JPEG2000 (JP2)", "*.jp2"},
        {"JPEG2000 Code Stream (J2K;JPC;J2C)", "*.j2k;*.jpc;*.j2c"},
    };
    // Qt separates patterns with blanks.
    QStringList all;
    QStringList entries;
    for (const auto& [text, patterns] : kTable) {
        const QString spaced = QString::fromLatin1(patterns).replace(u';', u' ');
        all << spaced;
        entries << QString::fromLatin1(text) + QStringLiteral(" (") + spaced + u')';
    }
    entries.prepend(QStringLiteral("All graphics (") + all.join(u' ') + u')');
    return entries.join(QStringLiteral(";;"));
}

QString PhotoCommands::savePictureFilter() {
    return QStringLiteral("JPEG Image File (*.jpg *.jpeg);;Bitmaps (*.bmp);;All (*)");
}

bool PhotoCommands::requireWritable() {
    if (!m_context.library->readOnly()) return true;
    ui::dialogs::warn(m_context.dialogParent,
                      QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
    return false;
}

bool PhotoCommands::selectedAlbumId(QString& id) {
    if (!albums::selectedNode(m_context.tree)) {
        ui::ShowNotice(QStringLiteral("请选择相册后再增加照片！"), ui::NoticeError);
        return false;
    }
    try {
        m_context.treeMaker->GetSelectedId(id);
    } catch (const albums::TreeError& e) {
        ui::dialogs::message(m_context.dialogParent, QStringLiteral("提示信息"), e.message(),
                             QMessageBox::Critical);
        return false;
    }
    if (!isDigits(id)) {
        ui::ShowNotice(QStringLiteral("请选择相册后再增加照片！"), ui::NoticeError);
        return false;
    }
    return true;
}

void PhotoCommands::reloadAlbum() {
    PhotoBrowser* browser = m_context.browser;
    if (browser->DisplayMode() == u"1") browser->LoadPhotoList();
    else browser->LoadPhotoThumbnails();
}

bool PhotoCommands::addFiles(const QString& albumId, const QStringList& files) {
    ui::ShowWaitWindow(QStringLiteral("2"), QString(), static_cast<int>(files.size()));
    repaintPending();
    const ImportResult result = addPhotoFiles(*m_context.library, albumId, files, [](int done) {
        ui::SetWaitProgress(done);
        repaintPending();
    });
    // The window closes on every path: a failure is told in a message box of its own.
    ui::CloseWaitWindow();
    reloadAlbum();
    if (!result.ok()) reportImportFailure(result, static_cast<int>(files.size()));
    return result.ok();
}

void PhotoCommands::reportImportFailure(const ImportResult& result, int chosen) {
    QString text = QStringLiteral("照片文件“") + QDir::toNativeSeparators(result.failedFile) +
                   QStringLiteral("”没有加入相册：\n") + result.error;
    const int rest = chosen - result.added() - 1;
    if (result.added() > 0 || rest > 0) text += QStringLiteral("\n\n");
    if (result.added() > 0)
        text += QStringLiteral("在它之前的 ") + QString::number(result.added()) +
                QStringLiteral(" 张照片已经加入相册。");
    if (rest > 0)
        text += QStringLiteral("其后的 ") + QString::number(rest) +
                QStringLiteral(" 个文件没有添加。");
    ui::dialogs::warn(m_context.dialogParent, text);
}

void PhotoCommands::AddPhotos() {
    if (!requireWritable()) return;
    QString albumId;
    if (!selectedAlbumId(albumId)) return;
    const QStringList files = ui::dialogs::openFiles(
        m_context.dialogParent, QStringLiteral("添加照片"), QString(), openImageFilter());
    if (files.isEmpty()) return;
    addFiles(albumId, files);
}

void PhotoCommands::EditPhoto() {
    PhotoBrowser* browser = m_context.browser;
    if (browser->DisplayMode() != u"1") return;
    if (!requireWritable()) return;
    const int row = browser->selectedRow();
    if (row < 0) {
        ui::dialogs::warn(m_context.dialogParent, QStringLiteral("请选择照片后在修改照片说明！"));
        return;
    }
    PhotoListView* list = browser->ListView1();
    const QString id = requireId(browser->rowId(row));

    TFrmPic_Edit dialog(m_context.dialogParent);
    dialog.setPhotoName(list->caption(row));
    dialog.setDescription(list->subItem(row, kRemarkSubItem));
    if (list->subItemCount(row) < 5) browser->ListView1Click();
    dialog.loadPicture(browser->rowTempFile(row));
    if (dialog.exec() != QDialog::Accepted) return;

    const QString name = dialog.photoName();
    const QString description = dialog.description();
    m_context.library
        ->temp(QStringLiteral("update picture set pic_name = ") + db::quoted(name) +
               QStringLiteral(",remark = ") + db::quoted(description) +
               QStringLiteral(",modify_date=") + db::nowLiteral() +
               QStringLiteral(" where id = ") + id)
        .execSql();

    list->model()->setSubItem(row, kRemarkSubItem, description);
    replaceRows(list, row, &name);
    list->selectRow(row);
    ui::ShowNotice(QStringLiteral("修改照片属性成功！"), ui::NoticeInfo);
}

void PhotoCommands::DeletePhoto() {
    if (!requireWritable()) return;
    PhotoBrowser* browser = m_context.browser;
    const int row = browser->selectedRow();
    if (row < 0) {
        ui::ShowNotice(QStringLiteral("请选择要删除的照片后再进行删除操作！"), ui::NoticeError);
        return;
    }
    PhotoListView* list = browser->ListView1();
    if (!ui::dialogs::askYesNo(m_context.dialogParent,
                               QStringLiteral("您真的要删除照片【") + list->caption(row) +
                                   QStringLiteral("】吗？（删除的照片将转入到回收站中）")))
        return;
    const QString id = requireId(browser->rowId(row));
    m_context.library
        ->temp(QStringLiteral("update picture set album_id = NULL  where id = ") + id)
        .execSql();
    replaceRows(list, row, nullptr);
    browser->ImageEn1()->clear();
    ui::ShowNotice(QStringLiteral("删除照片成功，照片被转入到回收站！"), ui::NoticeInfo);
}

void PhotoCommands::ToolButton25Click() {
    PhotoBrowser* browser = m_context.browser;
    const int row = browser->selectedRow();
    QString name = row >= 0 ? browser->ListView1()->caption(row) : QStringLiteral("temp");
    // A name is proposed in the user's home folder; a '/' in it would name a folder there.
    name.replace(u'/', u'_');
    const QString preset = QDir::home().filePath(name + QStringLiteral(".jpg"));
    const QString path = ui::dialogs::saveFile(m_context.dialogParent, QStringLiteral("另存为"),
                                               preset, savePictureFilter());
    if (path.isEmpty()) return;
    const QImage picture = browser->ImageEn1()->image();
    if (picture.isNull()) {
        ui::dialogs::warn(m_context.dialogParent, QStringLiteral("预览区中没有照片，无法导出！"));
        return;
    }
    // JPEG bytes whatever extension the chosen name has.
    const image::ImageStatus saved = image::saveImageAs(picture, path, image::FileFormat::Jpeg);
    if (!saved.ok())
        ui::dialogs::message(m_context.dialogParent, QStringLiteral("提示信息"),
                             QStringLiteral("导出照片失败：") + saved.error, QMessageBox::Critical);
}

bool PhotoCommands::chooseScanDevice() {
    QString error;
    QList<scan::DeviceInfo> devices;
    {
        scan::SaneSession session;
        devices = session.devices(false, &error);
    }
    if (!error.isEmpty()) {
        ui::dialogs::warn(m_context.dialogParent, error);
        return false;
    }
    QString device = m_scanDevice;
    if (!ScanSourceDialog::choose(m_context.dialogParent, devices, device)) return false;
    m_scanDevice = device;
    return true;
}

void PhotoCommands::N49Click() { chooseScanDevice(); }

void PhotoCommands::N57Click() {
    if (!requireWritable()) return;
    QString albumId;
    if (!selectedAlbumId(albumId)) return;
    if (!chooseScanDevice()) return;

    scan::ScanResult scanned;
    {
        scan::Scanner scanner;
        QString error;
        if (!scanner.open(m_scanDevice, &error)) {
            ui::dialogs::warn(m_context.dialogParent, error);
            return;
        }
        // A photo album wants colour and a photo's resolution where the device offers them;
        // a device that refuses keeps its own setting.
        if (scanner.optionChoices(QStringLiteral("mode")).contains(QStringLiteral("Color")))
            scanner.setOption(QStringLiteral("mode"), QStringLiteral("Color"));
        scanner.setOption(QStringLiteral("resolution"), kScanDpi);
        ui::ShowWaitWindow(QStringLiteral("1"), QStringLiteral("正在获取照片，请稍候……"), 0);
        repaintPending();
        scanned = scanner.scan([](qint64, qint64) {
            repaintPending();
            return true;
        });
        ui::CloseWaitWindow();
    }
    if (scanned.cancelled) return;
    if (!scanned.ok()) {
        ui::dialogs::warn(m_context.dialogParent, QStringLiteral("获取照片失败：") + scanned.error);
        return;
    }

    image::ImageView* preview = m_context.browser->ImageEn1();
    preview->setImage(scanned.image);
    preview->fitToWidth();
    const QString file = ui::MakeTempFileName(QStringLiteral(".jpg"));
    const image::ImageStatus saved =
        image::saveImageAs(preview->image(), file, image::FileFormat::Jpeg);
    if (!saved.ok()) {
        ui::dialogs::warn(m_context.dialogParent, QStringLiteral("获取照片失败：") + saved.error);
        return;
    }
    addFiles(albumId, {file});
}

}  // namespace photos
