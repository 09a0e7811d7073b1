#include "ui/TFrm_About.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QUrl>

#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/FormWidgets.h"
#include "ui/Shell.h"

namespace {

// Client size that gives the window its 540 x 392 outer size with a usual frame.
constexpr int kClientWidth = 532;
constexpr int kClientHeight = 358;
constexpr int kBandHeight = 75;

const QColor kLinkBlue(0, 0, 255);
const QColor kVersionGreen(0, 128, 0);

QString& trail()
{
    static QString text;  // program-wide: survives closing and reopening the window
    return text;
}

// One photo card of the header picture: a white frame around a small landscape.
void paintPhotoCard(QPainter& p, const QRectF& card, qreal angle, const QColor& sky)
{
    p.save();
    p.translate(card.center());
    p.rotate(angle);
    const QRectF r(-card.width() / 2, -card.height() / 2, card.width(), card.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(2, 2), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(150, 160, 175), 1));
    p.drawRoundedRect(r, 2, 2);
    const QRectF photo = r.adjusted(4, 4, -4, -10);
    p.setPen(Qt::NoPen);
    QLinearGradient skyFill(photo.topLeft(), photo.bottomLeft());
    skyFill.setColorAt(0, sky);
    skyFill.setColorAt(1, sky.lighter(150));
    p.setBrush(skyFill);
    p.drawRect(photo);
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(QPointF(photo.right() - 8, photo.top() + 8), 4, 4);
    QPainterPath hills;
    hills.moveTo(photo.bottomLeft());
    hills.lineTo(photo.left(), photo.bottom() - 8);
    hills.quadTo(photo.left() + photo.width() * 0.3, photo.top() + photo.height() * 0.35,
                 photo.left() + photo.width() * 0.6, photo.bottom() - 9);
    hills.quadTo(photo.left() + photo.width() * 0.8, photo.bottom() - 14, photo.right(),
                 photo.bottom() - 6);
    hills.lineTo(photo.bottomRight());
    hills.closeSubpath();
    p.setBrush(QColor(70, 160, 70));
    p.drawPath(hills);
    p.restore();
}

// The header band: a light gradient with two photo cards at its right.
QPixmap headerPicture()
{
    QPixmap pixmap(kClientWidth, kBandHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, kClientWidth, 0);
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(0.55, QColor(240, 246, 253));
    fill.setColorAt(1, QColor(205, 224, 246));
    p.fillRect(pixmap.rect(), fill);
    paintPhotoCard(p, QRectF(452, 12, 46, 44), -12, QColor(90, 150, 220));
    paintPhotoCard(p, QRectF(474, 16, 46, 44), 9, QColor(60, 120, 200));
    p.setPen(QColor(160, 180, 205));
    p.drawLine(0, kBandHeight - 1, kClientWidth, kBandHeight - 1);
    return pixmap;
}

QLabel* linkLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kLinkBlue);
    label->setPalette(pal);
    label->setCursor(Qt::PointingHandCursor);
    label->adjustSize();
    return label;
}

void setUnderline(QLabel* label, bool on)
{
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}

}  // namespace

TFrm_About::TFrm_About(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrm_About"));
    setWindowTitle(QStringLiteral("关于晴窗影册"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(ui::simSunFont(12));
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();
    // Key presses are seen here before any control gets them.
    qApp->installEventFilter(this);
    FormCreate();
}

TFrm_About::~TFrm_About()
{
    qApp->removeEventFilter(this);
}

void TFrm_About::buildLayout()
{
    auto* band = new QLabel(this);
    band->setObjectName(QStringLiteral("HeaderBand"));
    band->setGeometry(0, 0, kClientWidth, kBandHeight);
    band->setPixmap(headerPicture());

    auto* slogan = new QLabel(QStringLiteral("晴窗影册，您数码时代的好伴侣！"), this);
    slogan->setObjectName(QStringLiteral("lbSlogan"));
    QFont sloganFont = ui::simSunFont(16);
    sloganFont.setBold(true);
    slogan->setFont(sloganFont);
    QPalette sloganPal = slogan->palette();
    sloganPal.setColor(QPalette::WindowText, kLinkBlue);
    slogan->setPalette(sloganPal);
    slogan->move(41, 30);
    slogan->adjustSize();

    lbVersion = new QLabel(QStringLiteral("程序版本："), this);
    lbVersion->setObjectName(QStringLiteral("lbVersion"));
    QPalette versionPal = lbVersion->palette();
    versionPal.setColor(QPalette::WindowText, kVersionGreen);
    lbVersion->setPalette(versionPal);
    lbVersion->setGeometry(297, 55, 160, 16);

    Memo1 = new QTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(40, 99, 478, 193);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    Memo1->setAcceptRichText(false);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoPal = Memo1->palette();
    memoPal.setColor(QPalette::Base, palette().color(QPalette::Window));
    Memo1->setPalette(memoPal);
    const QStringList lines = {
        QStringLiteral("晴窗影册是一款集数码相册管理，照片浏览、处理等功能为一体的免费应用软件。"),
        QStringLiteral("系统具有如下特点："),
        QStringLiteral("    1.界面简洁，操作简便流畅。"),
        QStringLiteral("    2.照片统一存放在数据库中，可避免照片丢失等问题的出现，并且也便于查找。"),
        QStringLiteral("    3.照片可灵活的进行分类管理，可方便的进行拖拽，改变照片的类别。"),
        QStringLiteral("    4.可把照片设置为墙纸，制作成音乐屏保，丰富您的桌面。"),
        QStringLiteral("    5.具有多种图片处理效果，完美您的照片。"),
        QStringLiteral("    "),
    };
    Memo1->setPlainText(lines.join(QStringLiteral("\n\n")));
    // The CJK fonts here are taller than the one the text was laid out for: fixed line
    // heights, with the empty lines between the paragraphs half as high, keep it in view.
    QTextCursor cursor(Memo1->document());
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(block.text().isEmpty() ? 8 : 16, QTextBlockFormat::FixedHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }

    ui::horizontalRule(this, {8, 292, kClientWidth - 16, 2})
        ->setObjectName(QStringLiteral("Bevel1"));

    const QLabel* mailCaption = ui::label(this, QStringLiteral("电子邮件："), 40, 308);
    lbMail = linkLabel(ui::shell::makerMailAddress(), this);
    lbMail->setObjectName(QStringLiteral("lbMail"));
    lbMail->move(40 + mailCaption->width(), 308);

    const QLabel* webCaption = ui::label(this, QStringLiteral("官方网站："), 40, 330);
    QString site = ui::shell::makerWebSite();
    if (site.endsWith(u'/'))
        site.chop(1);
    lbWebSite = linkLabel(site, this);
    lbWebSite->setObjectName(QStringLiteral("lbWebSite"));
    lbWebSite->move(40 + webCaption->width(), 330);

    BtnOK = ui::button(this, QStringLiteral("确定(&O)"), "BtnOK",
                       {kClientWidth - 75 - 20, 316, 75, 25});
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
}

QString TFrm_About::versionText(const QString& version)
{
    QString text = QStringLiteral("程序版本：");
    const QStringList parts = version.trimmed().split(u'.');
    int numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).toInt(&ok);
        if (!ok) {
            if (i == 0)
                return text;  // no version to show
            numbers[i] = 0;
        }
    }
    text += QString::number(numbers[0]) + u'.' + QString::number(numbers[1]) + u'.' +
            QString::number(numbers[2]) + QStringLiteral(" (Build ") +
            QString::number(numbers[3]) + QStringLiteral(" )");
    return text;
}

void TFrm_About::FormCreate()
{
    lbVersion->setText(versionText(QCoreApplication::applicationVersion()));
}

QString TFrm_About::keyTrail()
{
    return trail();
}

void TFrm_About::resetKeyTrail()
{
    trail().clear();
}

QString TFrm_About::triggerWord()
{
    return QStringLiteral("ACAT");
}

QString TFrm_About::hiddenMessage()
{
    return QStringLiteral("我爱林晓，我愿意陪你一生一世，让你永远幸福！");
}

void TFrm_About::FormKeyPress(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return;
    const QString typed = event->text();
    if (typed.size() != 1)
        return;
    const char16_t c = typed.at(0).unicode();
    const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (!letter)
        return;
    trail() += typed.toUpper();
    if (trail().toUpper() == triggerWord()) {
        ui::dialogs::message(this, QStringLiteral("提示信息"), hiddenMessage(),
                             QMessageBox::Information, QMessageBox::Ok);
        trail().clear();
    }
}

void TFrm_About::lbWebSiteClick()
{
    ui::shell::openUrl(QUrl(ui::shell::makerWebSite()));
}

void TFrm_About::lbMailClick()
{
    ui::shell::openMail(ui::shell::makerMailAddress(), QStringLiteral("晴窗影册"));
}

bool TFrm_About::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Once per key, for the control that receives it first (the focused one, or the
        // window itself when nothing has the focus), not again as an ignored key travels up.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this &&
            (w == focusWidget() || (!focusWidget() && w == this)))
            FormKeyPress(static_cast<QKeyEvent*>(event));
        break;
    }
    case QEvent::Enter:
        if (watched == lbMail || watched == lbWebSite)
            setUnderline(static_cast<QLabel*>(watched), true);
        break;
    case QEvent::Leave:
        if (watched == lbMail || watched == lbWebSite)
            setUnderline(static_cast<QLabel*>(watched), false);
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        auto* label = qobject_cast<QLabel*>(watched);
        if (!label || !label->rect().contains(mouse->position().toPoint()))
            break;
        if (watched == lbWebSite)
            lbWebSiteClick();
        else if (watched == lbMail)
            lbMailClick();
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrm_About::keyPressEvent(QKeyEvent* event)
{
    // BtnOK is also the cancel button: Escape presses it and the window closes with OK.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BtnOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrm_About::showEvent(QShowEvent* event)
{
    const bool placeIt = !event->spontaneous() && !testAttribute(Qt::WA_Moved);
    QDialog::showEvent(event);
    if (placeIt)
        ui::centreOnScreen(this);
}
