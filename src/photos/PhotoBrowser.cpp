#include "photos/PhotoBrowser.h"

#include <cmath>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "photos/BlobFiles.h"
#include "photos/InfoTable.h"
#include "photos/PhotoListModel.h"
#include "photos/PhotoListView.h"
#include "photos/PreviewDecode.h"
#include "photos/ThumbnailLoader.h"
#include "photos/ThumbnailModel.h"
#include "photos/ThumbnailView.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/image/CameraData.h"
#include "platform/image/ImageIo.h"
#include "platform/image/ImageProcessing.h"
#include "platform/image/ImageView.h"
#include "platform/image/PixelFormat.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"
#include "ui/Utils.h"

namespace photos {

namespace {

// Status bar panel widths; panel 3 is not used by the photo list, panel 5 takes the rest.
constexpr int kPanelWidths[] = {250, 70, 135, 100, 80, 50};

QVBoxLayout* hostLayout(QWidget* host) {
    if (auto* box = qobject_cast<QVBoxLayout*>(host->layout())) return box;
    if (host->layout()) return nullptr;
    auto* box = new QVBoxLayout(host);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    return box;
}

void addToHost(QWidget* host, QWidget* widget, int stretch = 0) {
    if (QVBoxLayout* box = hostLayout(host)) box->addWidget(widget, stretch);
    else host->layout()->addWidget(widget);
}

}  // namespace

QSize PhotoBrowser::thumbnailBox() { return {120, 90}; }

PhotoBrowser::PhotoBrowser(const Context& context, QObject* parent)
    : QObject(parent), m_context(context) {
    m_loader = new ThumbnailLoader(this);
    connect(m_loader, &ThumbnailLoader::thumbnailReady, this, &PhotoBrowser::thumbnailReady);
    connect(m_loader, &ThumbnailLoader::progress, this,
            [this](int done, int) { m_progress->setValue(done); });
    connect(m_loader, &ThumbnailLoader::finished, this, [this] {
        m_progress->hide();
        emit thumbnailsFinished();
    });
    createWidgets();
}

PhotoBrowser::~PhotoBrowser() { m_loader->cancel(); }

void PhotoBrowser::createWidgets() {
    // The list area: a title bar with the progress bar, then the list or the thumbnails.
    QWidget* listHost = m_context.listHost;
    m_listTitle = new QWidget(listHost);
    m_listTitle->setObjectName(QStringLiteral("PanelListTitle"));
    auto* title = new QHBoxLayout(m_listTitle);
    title->setContentsMargins(0, 2, 4, 2);
    title->addWidget(ui::label(m_listTitle, QStringLiteral("  照片列表"), "LabelListTitle"));
    title->addStretch(1);
    m_progress = new QProgressBar(m_listTitle);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setFixedSize(160, 12);
    m_progress->hide();
    title->addWidget(m_progress);
    addToHost(listHost, m_listTitle);

    m_list = new PhotoListView(listHost);
    addToHost(listHost, m_list, 1);
    m_thumbs = new ThumbnailView(listHost);
    m_thumbs->hide();
    addToHost(listHost, m_thumbs, 1);
    // Thumbnails scrolled into view are made before the others still waiting.
    connect(m_thumbs->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_loader->running()) m_loader->prioritize(m_thumbs->visibleIndexes());
    });

    connect(m_list, &PhotoListView::rowClicked, this, [this](int) {
        try {
            ListView1Click();
        } catch (const db::DbError& e) {
            ui::dialogs::message(m_list->window(), QStringLiteral("提示信息"), e.message(),
                                 QMessageBox::Critical);
        }
    });
    connect(m_list, &PhotoListView::rowDoubleClicked, this, &PhotoBrowser::photoDoubleClicked);

    m_preview = new image::ImageView(m_context.previewHost);
    m_preview->setObjectName(QStringLiteral("ImageEn1"));
    addToHost(m_context.previewHost, m_preview, 1);

    m_info = createInfoTable(m_context.infoHost, 70, 125, true);
    addToHost(m_context.infoHost, m_info, 1);

    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(m_context.statusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 5) {
            panel->setFixedWidth(kPanelWidths[i]);
            m_context.statusBar->addWidget(panel);
        } else {
            panel->setMinimumWidth(kPanelWidths[i]);
            m_context.statusBar->addWidget(panel, 1);
        }
        m_status.append(panel);
    }
}

QLabel* PhotoBrowser::statusPanel(int index) const { return m_status.value(index); }

void PhotoBrowser::setStatus(int panel, const QString& text) {
    if (QLabel* label = m_status.value(panel)) label->setText(text);
}

void PhotoBrowser::setAlbumStatus(int count) {
    const QTreeWidgetItem* node = selectedAlbum();
    setStatus(0, QStringLiteral("  相册〖") + (node ? node->text(0) : QString()) +
                     QStringLiteral("〗中总共包含 ") + QString::number(count) +
                     QStringLiteral(" 张照片"));
}

QTreeWidgetItem* PhotoBrowser::selectedAlbum() const {
    return albums::selectedNode(m_context.tree);
}

QString PhotoBrowser::selectedAlbumId() const {
    QString id;
    m_context.treeMaker->GetSelectedId(id);
    return id;
}

void PhotoBrowser::setListPopupMenu(QMenu* menu) { m_list->setPopupMenu(menu); }

// ---- loading ------------------------------------------------------------------------------

void PhotoBrowser::TreeChange(QTreeWidgetItem* node) {
    if (!node) return;
    // A mouse click makes a node current before it selects it; the album to load is the
    // node reported, so it is the selected one from here on.
    if (m_context.tree && !node->isSelected() && node->treeWidget() == m_context.tree)
        albums::selectTreeNode(m_context.tree, node);
    const int serial = ++m_treeChangeSerial;
    m_list->clearRows();
    m_list->update();
    QCoreApplication::processEvents();
    if (serial != m_treeChangeSerial) return;   // a later selection was handled meanwhile
    if (m_displayMode == u"1") LoadPhotoList();
    else LoadPhotoThumbnails();
    if (serial != m_treeChangeSerial) return;
    if (m_list->rowCount() > 0) {
        m_list->selectRow(0);
        ListView1Click();
    }
}

void PhotoBrowser::LoadPhotoList() {
    QTreeWidgetItem* node = selectedAlbum();
    if (!node) return;
    const int serial = ++m_loadSerial;
    m_list->clearRows();
    const QString id = selectedAlbumId();
    QString sql = QStringLiteral(
                      "Select id,album_id,pic_name,create_date,modify_date,file_name,file_size,"
                      "remark from Picture where album_id=") +
                  id;
    sql += m_sortOrder == u"1" ? QStringLiteral(" order by pic_name")
                               : QStringLiteral(" order by remark");
    // The rows are copied out of the scratch query at once: events processed below may run
    // another command that reuses it.
    std::vector<PhotoRow> rows;
    {
        db::Query& query = m_context.library->temp(sql);
        query.open();
        rows.reserve(static_cast<size_t>(query.recordCount()));
        const QString name = QStringLiteral("pic_name"), created = QStringLiteral("create_date"),
                      modified = QStringLiteral("modify_date"), remark = QStringLiteral("remark"),
                      photoId = QStringLiteral("id");
        for (query.first(); !query.eof(); query.next())
            rows.push_back({query.asText(name),
                            {query.asText(created), query.asText(modified), query.asText(remark),
                             query.asText(photoId)}});
        query.close();
    }
    const int count = static_cast<int>(rows.size());
    if (count > 0) {
        if (!startLoadProgress(count, serial)) return;
        // One model reset fills the list; it repaints once afterwards.
        m_list->setUpdatesEnabled(false);
        m_list->model()->setRows(std::move(rows));
        m_list->setUpdatesEnabled(true);
        m_progress->setValue(count);
        m_progress->hide();
    }
    setAlbumStatus(count);
    emit photoListLoaded();
}

// Shows the progress bar for count rows and lets the events waiting meanwhile run. False when
// a load started meanwhile: that load has the list now, and this one must stop.
bool PhotoBrowser::startLoadProgress(int count, int serial) {
    m_progress->setRange(0, count);
    m_progress->setValue(0);
    m_progress->show();
    QCoreApplication::processEvents();
    if (serial == m_loadSerial) return true;
    if (!m_loader->running()) m_progress->hide();
    return false;
}

void PhotoBrowser::LoadPhotoThumbnails() {
    m_thumbs->setVisible(true);
    m_loader->cancel();
    m_thumbs->thumbnails()->clear();
    QTreeWidgetItem* node = selectedAlbum();
    if (!node) return;
    const int serial = ++m_loadSerial;
    const QString id = selectedAlbumId();
    std::vector<ThumbnailModel::Item> items;
    QList<ThumbnailTask> tasks;
    {
        db::Query& query = m_context.library->temp(
            QStringLiteral("Select id,album_id,pic_name,create_date,modify_date,file_name,"
                           "file_size,remark,pic_content from Picture where album_id=") +
            id);
        query.open();
        items.reserve(static_cast<size_t>(query.recordCount()));
        tasks.reserve(query.recordCount());
        const QString fileName = QStringLiteral("file_name"), name = QStringLiteral("pic_name"),
                      remark = QStringLiteral("remark"), photoId = QStringLiteral("id");
        for (query.first(); !query.eof(); query.next()) {
            ThumbnailModel::Item item;
            item.file = ui::MakeTempFileName(sourceExtension(query.asText(fileName)));
            item.caption = query.asText(name);
            item.info = query.asText(remark);
            tasks.append({query.asInteger(photoId), item.file});
            items.push_back(std::move(item));
        }
        query.close();
    }
    const int count = static_cast<int>(items.size());
    if (count > 0) {
        if (!startLoadProgress(count, serial)) return;
        m_thumbs->thumbnails()->append(std::move(items));
    }
    m_thumbs->viewport()->update();
    setAlbumStatus(count);
    // The files are written and the thumbnails made in the background, first screen first.
    m_loader->start(m_context.library->path(), tasks, thumbnailBox());
}

bool PhotoBrowser::thumbnailsLoading() const { return m_loader->running(); }

void PhotoBrowser::finishBackgroundWork() {
    m_loader->cancel();
    m_loader->waitForIdle();
    m_progress->hide();
}

void PhotoBrowser::thumbnailReady(int index, const QImage& image, const QString&) {
    if (image.isNull()) m_thumbs->thumbnails()->setFailed(index);
    else m_thumbs->thumbnails()->setImage(index, QPixmap::fromImage(image));
}

// ---- the preview --------------------------------------------------------------------------

void PhotoBrowser::ListView1Click() {
    if (m_list->selectedRow() < 0) return;
    QCoreApplication::processEvents();
    const int row = m_list->selectedRow();   // events may have changed the list
    if (row < 0) return;
    bool gone = false;
    const QString path = ensureTempFile(row, &gone);
    if (!gone) showFile(path);
    setStatus(5, u' ' + m_list->caption(row) + u' ' + path);
    fillInfoTable(m_info, m_shownRows);
    describePreview();
    emit previewShown();
}

// The row's temporary file, written from the library when it has none or it went away.
// Sets *rowGone (and gives an empty name) when the photo's row no longer exists.
QString PhotoBrowser::ensureTempFile(int row, bool* rowGone) {
    const QString known = m_list->rowTempFile(row).trimmed();
    if (!known.isEmpty() && QFileInfo::exists(known)) return known;
    bool numeric = false;
    const qint64 id = m_list->rowId(row).toLongLong(&numeric);
    const QString file = numeric ? writePhotoTempFile(*m_context.library, id) : QString();
    if (file.isEmpty()) {
        *rowGone = true;
        return {};
    }
    m_list->model()->setSubItem(row, PhotoListModel::kTempFileSubItem, file);
    return file;
}

// Clears the preview and shows the file fitted to the preview's width, decoded once at the
// size it is shown; the information rows come from the same load.
void PhotoBrowser::showFile(const QString& path) {
    m_preview->clear();
    const QSize full = probeImageSize(path);
    image::LoadOptions options;
    options.maxSize = decodeLimitFor(full, fitToWidthSize(m_preview, full));
    const image::LoadResult loaded = image::loadImage(path, options);
    if (!loaded.ok()) {
        m_shownRows = image::informationRows(image::CameraData{}, QSize(0, 0));
        ui::ShowNotice(loaded.error, ui::NoticeError);
        return;
    }
    m_preview->setDocument(loaded.document);
    m_preview->fitToWidth();
    m_shownRows = image::informationRows(loaded.document);
}

void PhotoBrowser::describePreview() {
    if (m_preview->isEmpty()) {
        setStatus(1, QString());
        setStatus(2, QString());
        return;
    }
    setStatus(1, QString::number(m_preview->bitsPerPixel()) + QStringLiteral("Bit"));
    setStatus(2, QString::number(m_preview->imageWidth()) + QStringLiteral("×") +
                     QString::number(m_preview->imageHeight()) + u' ' +
                     image::colourName(m_preview->pixelKind()));
}

// ---- navigation and preview tools ---------------------------------------------------------

int PhotoBrowser::selectedRow() const { return m_list->selectedRow(); }
void PhotoBrowser::selectRow(int row) { m_list->selectRow(row); }
int PhotoBrowser::rowCount() const { return m_list->rowCount(); }
QString PhotoBrowser::rowId(int row) const { return m_list->rowId(row); }
QString PhotoBrowser::rowTempFile(int row) const { return m_list->rowTempFile(row); }

void PhotoBrowser::tbPriorClick() {
    const int row = m_list->selectedRow();
    if (row <= 0) return;
    m_list->selectRow(row - 1);
    ListView1Click();
}

void PhotoBrowser::tbNextClick() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= m_list->rowCount() - 1) return;
    m_list->selectRow(row + 1);
    ListView1Click();
}

void PhotoBrowser::showZoom() {
    setStatus(4, QString::number(std::lround(m_preview->zoom())) + u'%');
}

void PhotoBrowser::ToolButton1Click() {
    m_preview->setZoom(m_preview->zoom() + 10);
    showZoom();
}

void PhotoBrowser::ToolButton2Click() {
    // The view refuses a zoom that is not above 0; the zoom then stays as it is.
    m_preview->setZoom(m_preview->zoom() - 10);
    showZoom();
}

void PhotoBrowser::ToolButton4Click() {
    m_preview->setZoom(100);
    showZoom();
}

void PhotoBrowser::ToolButton8Click() { m_preview->fit(); }

void PhotoBrowser::ToolButton13Click() {
    if (m_preview->isEmpty()) return;
    m_preview->setImage(image::rotatedQuarterTurns(m_preview->image(), -1),
                        m_preview->pixelFormat());
}

void PhotoBrowser::ToolButton15Click() {
    if (m_preview->isEmpty()) return;
    m_preview->setImage(image::rotatedQuarterTurns(m_preview->image(), 1),
                        m_preview->pixelFormat());
}

// ---- view commands ------------------------------------------------------------------------

bool PhotoBrowser::viewCommand(int tag) {
    switch (tag) {
        case 301:
            m_sortOrder = QStringLiteral("1");
            LoadPhotoList();
            return true;
        case 302:
            m_sortOrder = QStringLiteral("2");
            LoadPhotoList();
            return true;
        case 308:
        case 309:
        case 310:
        case 311:
            setListStyle(tag);
            listModeSwitch();
            return true;
        case 312:
            thumbnailModeSwitch();
            return true;
        default:
            return false;
    }
}

void PhotoBrowser::setListStyle(int tag) {
    using Style = PhotoListView::ViewStyle;
    const Style style = tag == 308   ? Style::Icon
                        : tag == 309 ? Style::SmallIcon
                        : tag == 310 ? Style::List
                                     : Style::Report;
    m_list->setViewStyle(style);
}

void PhotoBrowser::listModeSwitch() {
    m_list->setVisible(true);
    m_displayMode = QStringLiteral("1");
    m_loader->cancel();
    m_progress->hide();
    m_thumbs->hide();
    LoadPhotoList();
    emit photoCommandsVisibleChanged(true);
}

void PhotoBrowser::thumbnailModeSwitch() {
    m_list->hide();
    m_displayMode = QStringLiteral("2");
    LoadPhotoThumbnails();
    emit photoCommandsVisibleChanged(false);
    ui::ShowNotice(QStringLiteral("在缩略图模式下不能对照片进行操作！"), ui::NoticeInfo);
}

}  // namespace photos
