#include "ui/TFrm_Tips.h"

#include <exception>
#include <utility>

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QShowEvent>
#include <QTextBrowser>
#include <QUrl>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"
#include "ui/Shell.h"

namespace {

constexpr int kClientWidth = 449;
constexpr int kClientHeight = 293;

const QString kTipsStatement = QStringLiteral("select * from parameter where domain_no ='提示词语'");

// What the application's default error report would show for an error nobody caught.
void reportError(QWidget* parent, const std::exception& error)
{
    ui::dialogs::message(parent, QGuiApplication::applicationDisplayName(),
                         QString::fromUtf8(error.what()), QMessageBox::Critical,
                         QMessageBox::Ok);
}

// The picture beside "您知道吗？": a lit bulb.
QPixmap bulbPicture()
{
    QPixmap pixmap(44, 52);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(22, 19), 22);
    glow.setColorAt(0, QColor(255, 236, 130, 200));
    glow.setColorAt(1, QColor(255, 236, 130, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(22, 19), 22, 20);
    QRadialGradient glass(QPointF(18, 14), 16);
    glass.setColorAt(0, QColor(255, 252, 215));
    glass.setColorAt(1, QColor(250, 200, 40));
    p.setBrush(glass);
    p.setPen(QPen(QColor(200, 140, 20), 1.2));
    QPainterPath bulb;
    bulb.moveTo(16, 33);
    bulb.cubicTo(15, 28, 8, 25, 8, 18);
    bulb.cubicTo(8, 10, 14, 5, 22, 5);
    bulb.cubicTo(30, 5, 36, 10, 36, 18);
    bulb.cubicTo(36, 25, 29, 28, 28, 33);
    bulb.closeSubpath();
    p.drawPath(bulb);
    p.setPen(QPen(QColor(255, 255, 255, 220), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(12, 9, 12, 12), 100 * 16, 70 * 16);
    p.setPen(QPen(QColor(120, 125, 135), 1));
    QLinearGradient metal(16, 0, 28, 0);
    metal.setColorAt(0, QColor(170, 175, 185));
    metal.setColorAt(0.5, QColor(235, 238, 242));
    metal.setColorAt(1, QColor(150, 155, 165));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(16, 34, 12, 10), 2, 2);
    p.drawLine(QPointF(16, 37.5), QPointF(28, 37.5));
    p.drawLine(QPointF(16, 41), QPointF(28, 41));
    p.setBrush(QColor(90, 95, 105));
    p.drawEllipse(QRectF(19, 44, 6, 4));
    return pixmap;
}

// The small icon before the web-site link: a globe.
QPixmap globeIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sea(QPointF(6, 5), 10);
    sea.setColorAt(0, QColor(150, 205, 255));
    sea.setColorAt(1, QColor(30, 100, 200));
    p.setPen(QPen(QColor(25, 80, 160), 1));
    p.setBrush(sea);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(QColor(255, 255, 255, 170), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(3, 4.5), QPointF(13, 4.5));
    p.drawLine(QPointF(3, 11.5), QPointF(13, 11.5));
    return pixmap;
}

void setLinkHover(QLabel* label, bool hover)
{
    QFont font = label->font();
    font.setUnderline(hover);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, hover ? QColor(0, 0, 255) : QColor(0, 0, 0));
    label->setPalette(pal);
    if (hover)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}

}  // namespace

TFrm_Tips::TFrm_Tips(ReadSwitch readSwitch, WriteSwitch writeSwitch, QWidget* parent)
    : QDialog(parent),
      m_readSwitch(std::move(readSwitch)),
      m_writeSwitch(std::move(writeSwitch)),
      ADOConnOther(std::make_unique<db::Connection>()),
      QryOther(std::make_unique<db::Query>(ADOConnOther.get()))
{
    setObjectName(QStringLiteral("TFrm_Tips"));
    setWindowTitle(QStringLiteral("晴窗影册每日提示"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(ui::simSunFont(12));
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();
}

// The query goes before the connection it is attached to.
TFrm_Tips::~TFrm_Tips()
{
    QryOther.reset();
    ADOConnOther.reset();
}

void TFrm_Tips::buildLayout()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 10, 433, 236);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    panel->setPalette(white);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(bulbPicture());
    picture->setGeometry(32, 24, 44, 52);

    auto* heading = new QLabel(QStringLiteral("您知道吗？"), panel);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = ui::simSunFont(14);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->move(91, 27);
    heading->adjustSize();

    auto* line = new QFrame(panel);
    line->setObjectName(QStringLiteral("Shape1"));
    line->setFrameShape(QFrame::NoFrame);
    line->setGeometry(80, 49, 331, 2);
    line->setAutoFillBackground(true);
    QPalette grey = line->palette();
    grey.setColor(QPalette::Window, QColor(88, 88, 88));
    line->setPalette(grey);

    RichEdit1 = new QTextBrowser(panel);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(88, 64, 314, 121);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setReadOnly(true);
    RichEdit1->setOpenLinks(false);
    RichEdit1->setFocusPolicy(Qt::NoFocus);
    RichEdit1->setPalette(white);

    auto* siteIcon = new QLabel(panel);
    siteIcon->setObjectName(QStringLiteral("Image2"));
    siteIcon->setPixmap(globeIcon());
    siteIcon->setGeometry(296, 206, 16, 16);

    lbSite = ui::label(panel, QStringLiteral("晴窗影册官方网站"), 316, 208, "lbSite");
    setLinkHover(lbSite, false);
    lbSite->installEventFilter(this);

    CheckBox1 = ui::checkBox(this, QStringLiteral("启动时显示每日提示"), "CheckBox1");
    CheckBox1->setChecked(true);
    CheckBox1->move(10, 260);
    CheckBox1->adjustSize();

    BtnNext = ui::button(this, QStringLiteral("下一帖(&N)"), "BtnNext", {286, 256, 75, 25});
    connect(BtnNext, &QPushButton::clicked, this, &TFrm_Tips::BtnNextClick);

    BtnClose = ui::button(this, QStringLiteral("关闭(&C)"), "BtnClose", {366, 256, 75, 25});
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);
}

void TFrm_Tips::showEvent(QShowEvent* event)
{
    const bool firstShow = !event->spontaneous();
    const bool placeIt = firstShow && !testAttribute(Qt::WA_Moved);
    QDialog::showEvent(event);
    if (placeIt)
        ui::centreOnScreen(this);
    if (firstShow)
        FormShow();
}

void TFrm_Tips::FormShow()
{
    QString value;
    try {
        if (m_readSwitch)
            value = m_readSwitch();
    } catch (const std::exception& error) {
        reportError(this, error);
    }
    // Ticked unless switched off, the rule start-up and the settings dialog apply: a library
    // without the row shows the tips, so closing the window must not quietly turn them off.
    CheckBox1->setChecked(value != QStringLiteral("False"));

    openTemplate();
    const int n = tipCount();
    if (n > 0) {
        // The tip after the current row is shown: stand on the row before the chosen one
        // (on the last row when the first is chosen) so that each tip is as likely to open.
        const int chosen = static_cast<int>(QRandomGenerator::global()->bounded(n)) + 1;
        QryOther->setRecNo(chosen == 1 ? n : chosen - 1);
    }
    showNextTip();
}

void TFrm_Tips::openTemplate()
{
    const QString path = ui::paths::programDir() + QStringLiteral("Model.dll");
    try {
        QryOther->close();
        ADOConnOther->close();
        ADOConnOther->setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
        ADOConnOther->open();
        QryOther->setSql(kTipsStatement);
        QryOther->open();
    } catch (const db::DbError&) {
        QryOther->close();
        ADOConnOther->close();
        ui::ShowNotice(QStringLiteral("提示模板文件“") + path +
                           QStringLiteral("”无法打开，不能显示每日提示！"),
                       ui::NoticeWarning);
    }
}

void TFrm_Tips::showNextTip()
{
    if (!QryOther->active() || QryOther->isEmpty())
        return;
    if (QryOther->recNo() >= QryOther->recordCount())
        QryOther->first();
    else
        QryOther->next();
    RichEdit1->setPlainText(QryOther->asText(QStringLiteral("pvalue")));
}

void TFrm_Tips::BtnNextClick()
{
    showNextTip();
}

QString TFrm_Tips::currentTip() const
{
    return RichEdit1->toPlainText();
}

int TFrm_Tips::currentRow() const
{
    return QryOther->active() ? QryOther->recNo() : 0;
}

int TFrm_Tips::tipCount() const
{
    return QryOther->active() ? QryOther->recordCount() : 0;
}

void TFrm_Tips::lbSiteClick()
{
    ui::shell::openUrl(QUrl(ui::shell::makerWebSite()));
}

void TFrm_Tips::FormClose()
{
    try {
        if (m_writeSwitch)
            m_writeSwitch(CheckBox1->isChecked() ? QStringLiteral("True")
                                                 : QStringLiteral("False"));
    } catch (const std::exception& error) {
        reportError(this, error);
    }
}

void TFrm_Tips::done(int result)
{
    // Every way of closing passes here: the close button, the title bar, Escape.
    FormClose();
    QDialog::done(result);
}

bool TFrm_Tips::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbSite) {
        switch (event->type()) {
        case QEvent::Enter:
            setLinkHover(lbSite, true);
            break;
        case QEvent::Leave:
            setLinkHover(lbSite, false);
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                lbSite->rect().contains(mouse->position().toPoint()))
                lbSiteClick();
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
