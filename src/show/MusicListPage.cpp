#include "show/MusicListPage.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/media/MusicPlayer.h"
#include "show/MusicRows.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"

namespace show {
namespace {

const QString kOpenTitle = QStringLiteral("选择音乐文件");
const QString kOpenFilter = QStringLiteral(
    "所有支持的音频文件 (*.mp3 *.wma *.wav *.mid *.RMI);;MP3 文件 (*.mp3);;WMA 文件 (*.wma);;"
    "MIDI文件 (*.mid *.midi);;RMI文件 (*.RMI)");
const QString kPause = QStringLiteral("暂停");
const QString kResume = QStringLiteral("继续");

enum Column { ColTitle = 0, ColFile = 1, ColId = 2 };

}  // namespace

MusicListPage::MusicListPage(db::Query& scratch, QWidget* parent)
    : QWidget(parent), m_scratch(scratch) {
    setObjectName(QStringLiteral("MusicListPage"));

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels(
        {QStringLiteral("标题"), QStringLiteral("文件名"), QStringLiteral("id")});
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setMinimumSectionSize(1);
    ListView1->setColumnWidth(ColTitle, 120);
    ListView1->setColumnWidth(ColFile, 260);
    ListView1->setColumnWidth(ColId, 1);

    sbAdd = ui::button(this, QStringLiteral("增加音乐文件"), "sbAdd");
    sbDel = ui::button(this, QStringLiteral("删除音乐文件"), "sbDel");
    sbPlay = ui::button(this, QStringLiteral("播放"), "sbPlay");
    sbPasue = ui::button(this, kPause, "sbPasue");
    sbStop = ui::button(this, QStringLiteral("停止"), "sbStop");
    Label3 = ui::label(this, QStringLiteral("双击音乐文件，可以试听音乐文件效果"), "Label3");

    MediaPlayer1 = new media::MusicPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sbAdd);
    buttons->addWidget(sbDel);
    buttons->addStretch();
    buttons->addWidget(sbPlay);
    buttons->addWidget(sbPasue);
    buttons->addWidget(sbStop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
    layout->addWidget(Label3);

    connect(sbAdd, &QPushButton::clicked, this, &MusicListPage::sbAddClick);
    connect(sbDel, &QPushButton::clicked, this, &MusicListPage::sbDelClick);
    connect(sbPlay, &QPushButton::clicked, this, &MusicListPage::sbPlayClick);
    connect(sbPasue, &QPushButton::clicked, this, &MusicListPage::sbPasueClick);
    connect(sbStop, &QPushButton::clicked, this, &MusicListPage::sbStopClick);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this,
            &MusicListPage::ListView1SelectItem);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &MusicListPage::sbPlayClick);
    // Queued: the message box must not run inside the back end's own notification.
    connect(MediaPlayer1, &media::MusicPlayer::failed, this, &MusicListPage::MediaPlayer1Failed,
            Qt::QueuedConnection);
}

MusicListPage::~MusicListPage() = default;

void MusicListPage::fillMusicList() { fill(true); }

void MusicListPage::fill(bool reportErrors) {
    ListView1->clear();
    try {
        const QList<MusicRow> rows = readMusicRows(m_scratch);
        QList<QTreeWidgetItem*> items;
        items.reserve(rows.size());
        for (const MusicRow& row : rows)
            items.append(new QTreeWidgetItem(QStringList{row.title, row.fileName, row.id}));
        ListView1->addTopLevelItems(items);
    } catch (const db::DbError& e) {
        if (reportErrors) showDbError(e.message());
    }
}

void MusicListPage::closePlayer() {
    MediaPlayer1->close();
}

bool MusicListPage::requireWritable() {
    const db::Connection* conn = m_scratch.connection();
    if (conn && !conn->readOnly()) return true;
    ui::dialogs::warn(this, QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
    return false;
}

void MusicListPage::showDbError(const QString& message) {
    ui::dialogs::message(this, QStringLiteral("提示信息"), message, QMessageBox::Critical);
}

void MusicListPage::sbAddClick() {
    if (!requireWritable()) return;
    const QStringList files = ui::dialogs::openFiles(this, kOpenTitle, QString(), kOpenFilter);
    if (files.isEmpty()) return;
    try {
        if (!hasScrFiles(*m_scratch.connection()))
            m_scratch.connection()->execute(QString::fromLatin1(kCreateScrFiles));
        addMusicFiles(m_scratch, files);
    } catch (const db::DbError& e) {
        showDbError(e.message());
        // Rows posted before the failure stay; show them, without telling the error twice.
        fill(false);
        return;
    }
    fillMusicList();
}

void MusicListPage::sbDelClick() {
    QTreeWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected()) return;
    if (!requireWritable()) return;
    const QString fileName = item->text(ColFile);
    const auto answer = ui::dialogs::message(
        this, QStringLiteral("是否删除"),
        QStringLiteral("您真的要删除") + fileName + QStringLiteral("吗？"), QMessageBox::Warning,
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    try {
        deleteMusicRow(m_scratch, item->text(ColId));
    } catch (const db::DbError& e) {
        showDbError(e.message());
        return;
    }
    fillMusicList();
}

void MusicListPage::ListView1SelectItem() {
    QTreeWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected()) return;
    const QString fileName = item->text(ColFile);
    if (QFileInfo::exists(fileName)) MediaPlayer1->setFileName(fileName);
}

void MusicListPage::sbPlayClick() {
    QTreeWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected()) return;
    const QString fileName = item->text(ColFile);
    if (!QFileInfo(fileName).isFile()) return;  // a missing file is skipped silently
    if (MediaPlayer1->isOpen()) MediaPlayer1->close();
    MediaPlayer1->setFileName(fileName);
    MediaPlayer1->open();
    MediaPlayer1->setPosition(0);
    MediaPlayer1->play();
    // A new track plays, so the button offers to pause it again.
    sbPasue->setText(kPause);
}

void MusicListPage::sbPasueClick() {
    switch (MediaPlayer1->mode()) {
        case media::MusicPlayer::Mode::Playing:
            MediaPlayer1->pause();
            sbPasue->setText(kResume);
            break;
        case media::MusicPlayer::Mode::Paused:
            MediaPlayer1->resume();
            sbPasue->setText(kPause);
            break;
        default:
            break;
    }
}

void MusicListPage::sbStopClick() {
    MediaPlayer1->stop();
}

void MusicListPage::MediaPlayer1Failed(const QString& fileName, const QString& reason) {
    ui::dialogs::message(this, QStringLiteral("提示信息"),
                         QStringLiteral("无法播放音乐文件“") + fileName +
                             QStringLiteral("”：") + reason,
                         QMessageBox::Warning);
}

}  // namespace show
