#include "photos/TFrm_PicProp.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "albums/TreeHooks.h"
#include "photos/InfoTable.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoListView.h"
#include "platform/image/ImageView.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"
#include "ui/Utils.h"

namespace {

// Client size for a 465 x 341 window with a dialog frame.
constexpr int kClientWidth = 459;
constexpr int kClientHeight = 314;

// The picture beside the caption at the bottom: a small photo with an "i".
QPixmap propertiesIcon()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 130, 145), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1.5, 3.5, 19, 16), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 165, 225));
    p.drawRect(QRectF(3.5, 5.5, 15, 9));
    QPainterPath hill;
    hill.moveTo(3.5, 14.5);
    hill.quadTo(8, 8, 12, 14.5);
    hill.closeSubpath();
    p.setBrush(QColor(80, 160, 80));
    p.drawPath(hill);
    p.setBrush(QColor(30, 90, 190));
    p.drawEllipse(QRectF(12, 11, 11, 11));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17.5, 15.8), QPointF(17.5, 19.5));
    p.drawPoint(QPointF(17.5, 13.6));
    return pixmap;
}

// The locale's long time format without the time zone, which the system's format has not.
QString longTimeFormat()
{
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.simplified();
}

}  // namespace

std::optional<TFrm_PicProp::Input> TFrm_PicProp::collect(photos::PhotoBrowser& browser,
                                                         QTreeWidget* tree)
{
    if (browser.selectedRow() < 0) {
        const QTreeWidgetItem* album = albums::selectedNode(tree);
        if (!album) {
            ui::ShowNotice(QStringLiteral("请选择相册后再进行操作！"), ui::NoticeInfo);
            return std::nullopt;
        }
        if (browser.rowCount() == 0) {
            ui::ShowNotice(QStringLiteral("相册【") + album->text(0) +
                               QStringLiteral("】中现在还没有照片！"),
                           ui::NoticeInfo);
            return std::nullopt;
        }
        browser.selectRow(0);
        browser.ListView1Click();
    }
    int row = browser.selectedRow();
    if (row < 0)
        return std::nullopt;
    // The file facts are read from the temporary file: write it when it is not there, also
    // when the temporary folder was emptied since the row was last shown.
    const QString known = browser.rowTempFile(row).trimmed();
    if (known.isEmpty() || !QFileInfo::exists(known)) {
        browser.ListView1Click();
        row = browser.selectedRow();
        if (row < 0)
            return std::nullopt;
    }
    Input input;
    input.picName = browser.ListView1()->caption(row);
    input.tempFile = browser.rowTempFile(row).trimmed();
    const image::ImageView* preview = browser.ImageEn1();
    input.imageSize = QSize(preview->imageWidth(), preview->imageHeight());
    input.pixelKind = preview->pixelKind();
    input.infoRows = browser.shownInfoRows();
    return input;
}

TFrm_PicProp::TFrm_PicProp(const Input& input, QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("TFrm_PicProp"));
    setWindowTitle(QStringLiteral("照片的属性信息"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();
    fill(input);
}

void TFrm_PicProp::buildLayout()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, kClientWidth - 16, 262);

    auto* basic = new QWidget;
    basic->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(basic);
    grid->setContentsMargins(18, 14, 18, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    grid->setColumnMinimumWidth(0, 86);
    grid->setColumnStretch(1, 1);
    int line = 0;
    auto addRow = [&](const QString& caption, const char* name) {
        auto* label = new QLabel(caption, basic);
        auto* value = new QLabel(basic);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, line, 0);
        grid->addWidget(value, line, 1);
        ++line;
        return value;
    };
    auto addSeparator = [&] {
        grid->addWidget(ui::horizontalRule(basic), line, 0, 1, 2);
        ++line;
    };
    lbPicName = addRow(QStringLiteral("照片名称："), "lbPicName");
    addSeparator();
    lbDbMax = addRow(QStringLiteral("照片大小："), "lbDbMax");
    lbCreateDate = addRow(QStringLiteral("创建日期："), "lbCreateDate");
    lbModifyDate = addRow(QStringLiteral("最后修改日期："), "lbModifyDate");
    lbVisitDate = addRow(QStringLiteral("访问日期："), "lbVisitDate");
    addSeparator();
    lbFbl = addRow(QStringLiteral("照片分辨率："), "lbFbl");
    LbExt = addRow(QStringLiteral("照片格式："), "LbExt");
    LbColor = addRow(QStringLiteral("颜色："), "LbColor");
    grid->setRowStretch(line, 1);
    PageControl1->addTab(basic, QStringLiteral(" 基本属性 "));

    auto* extended = new QWidget;
    extended->setObjectName(QStringLiteral("TabSheet2"));
    auto* box = new QVBoxLayout(extended);
    box->setContentsMargins(4, 4, 4, 4);
    lvInfo = photos::createInfoTable(extended, 200, 215, false);
    box->addWidget(lvInfo);
    PageControl1->addTab(extended, QStringLiteral(" 扩展信息 "));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(propertiesIcon());
    icon->setGeometry(12, 280, 24, 24);
    ui::label(this, QStringLiteral("照片的属性信息"), 42, 285, "Label9");

    BtnOK = ui::button(this, QStringLiteral("确定(&O)"), "BtnOK",
                       {kClientWidth - 8 - 75, 281, 75, 25});
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
}

QString TFrm_PicProp::dateTimeText(const QDateTime& value)
{
    // A time that could not be read shows nothing rather than a made-up date.
    if (!value.isValid())
        return {};
    const QLocale locale = QLocale::system();
    return locale.toString(value.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(value.time(), longTimeFormat());
}

void TFrm_PicProp::fill(const Input& input)
{
    lbPicName->setText(input.picName);
    lbPicName->setToolTip(input.picName);
    lbDbMax->setText(ui::FormatSizeKB(ui::GetFileSizeOf(input.tempFile)));
    lbCreateDate->setText(dateTimeText(ui::GetFileTimeOf(input.tempFile, 0)));
    lbModifyDate->setText(dateTimeText(ui::GetFileWriteTimeOf(input.tempFile)));
    lbVisitDate->setText(dateTimeText(ui::GetFileTimeOf(input.tempFile, 1)));
    lbFbl->setText(QString::number(input.imageSize.width()) + QStringLiteral("（宽） ×") +
                   QString::number(input.imageSize.height()) + QStringLiteral("（高）"));
    LbExt->setText(QFileInfo(input.tempFile).suffix().toUpper());
    LbColor->setText(image::colourName(input.pixelKind));
    photos::fillInfoTable(lvInfo, input.infoRows);
}
