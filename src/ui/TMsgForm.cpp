#include "ui/TMsgForm.h"

#include <cstring>

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTextLayout>
#include <QtMath>

#include "ui/Fonts.h"

namespace {

constexpr int kWidth = 224;
constexpr int kHeight = 131;
constexpr int kMsgLeft = 24;
constexpr int kMsgTop = 64;
constexpr int kMsgWidth = 187;
constexpr int kMsgHeight = 57;

QList<TMsgForm*>& registry()
{
    static QList<TMsgForm*> list;
    return list;
}

// Word-wrapped layout of the message. Over-long words (paths, web addresses) break anywhere
// rather than run out of the window. Returns the height the text needs; draws it when a
// painter is given.
int layoutMessage(const QString& text, const QFont& font, int width, QPainter* painter)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(lines, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    if (painter)
        layout.draw(painter, QPointF(0, 0));
    return qCeil(y);
}

// The three kind symbols, drawn to fit 48 pixels of height.
QPixmap kindPicture(int kind, QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = 42;
    const QRectF disc((size.width() - d) / 2.0, (size.height() - d) / 2.0, d, d);
    const QPointF c = disc.center();

    if (kind == 2) {
        QPainterPath tri;
        tri.moveTo(c.x(), disc.top() + 1);
        tri.lineTo(disc.right() + 2, disc.bottom() - 1);
        tri.lineTo(disc.left() - 2, disc.bottom() - 1);
        tri.closeSubpath();
        QLinearGradient fill(disc.topLeft(), disc.bottomLeft());
        fill.setColorAt(0, QColor(255, 226, 96));
        fill.setColorAt(1, QColor(240, 172, 20));
        p.setPen(QPen(QColor(176, 116, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(fill);
        p.drawPath(tri);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(64, 40, 0));
        p.drawRoundedRect(QRectF(c.x() - 2.5, disc.top() + 14, 5, 15), 2.5, 2.5);
        p.drawEllipse(QPointF(c.x(), disc.bottom() - 8), 3, 3);
        return pm;
    }

    QRadialGradient fill(c - QPointF(d / 6, d / 6), d * 0.75);
    if (kind == 0) {
        fill.setColorAt(0, QColor(255, 128, 112));
        fill.setColorAt(1, QColor(190, 24, 24));
        p.setPen(QPen(QColor(140, 16, 16), 1.5));
    } else {
        fill.setColorAt(0, QColor(120, 190, 255));
        fill.setColorAt(1, QColor(20, 92, 200));
        p.setPen(QPen(QColor(16, 64, 150), 1.5));
    }
    p.setBrush(fill);
    p.drawEllipse(disc);

    if (kind == 0) {
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
        const qreal r = d * 0.2;
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(r, -r), c + QPointF(-r, r));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(c.x(), c.y() - 10), 3.2, 3.2);
        p.drawRoundedRect(QRectF(c.x() - 3, c.y() - 4, 6, 17), 2.5, 2.5);
    }
    return pm;
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TMsgForm::TMsgForm()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TMsgForm"));
    setWindowTitle(QStringLiteral("Msg"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFont(ui::simSunFont(12));
    resize(kWidth, kHeight);

    m_lblMsg = makeLabel(this, "lblMsg", QRect(kMsgLeft, kMsgTop, kMsgWidth, kMsgHeight));
    m_lblMsg->setWordWrap(true);
    m_lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblMsg->installEventFilter(this);  // painted here, see eventFilter
    m_lblIcon = makeLabel(this, "lblIcon", QRect(75, 21, kWidth - 75 - 8, 16));
    QPalette pal = m_lblIcon->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    m_lblIcon->setPalette(pal);

    m_imgError = makeLabel(this, "imgError", QRect(10, 3, 50, 48));
    m_imgError->setPixmap(kindPicture(0, QSize(50, 48)));
    m_imgWarning = makeLabel(this, "imgWarning", QRect(10, 3, 51, 48));
    m_imgWarning->setPixmap(kindPicture(2, QSize(51, 48)));
    m_imgInfo = makeLabel(this, "imgInfo", QRect(2, 3, 69, 48));
    m_imgInfo->setPixmap(kindPicture(1, QSize(69, 48)));
    for (QLabel* img : {m_imgError, m_imgWarning, m_imgInfo})
        img->hide();

    // Off-screen until started.
    move(-300, workArea().height() + 300);
    registry().append(this);

    m_slideIn.setInterval(15);
    m_rest.setInterval(2000);
    m_rest.setSingleShot(true);
    m_slideOut.setInterval(15);
    connect(&m_slideIn, &QTimer::timeout, this, &TMsgForm::slideInTick);
    connect(&m_rest, &QTimer::timeout, this, &TMsgForm::endRest);
    connect(&m_slideOut, &QTimer::timeout, this, &TMsgForm::slideOutTick);
    // Fires only once the caller is back in the event loop.
    m_slideIn.start();
}

TMsgForm::~TMsgForm()
{
    registry().removeOne(this);
}

const QList<TMsgForm*>& TMsgForm::liveNotices()
{
    return registry();
}

void TMsgForm::freeAll()
{
    const QList<TMsgForm*> alive = registry();
    for (TMsgForm* form : alive)
        delete form;
}

QRect TMsgForm::workArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

void TMsgForm::setMessage(const QString& text, int kind)
{
    m_text = text;
    m_kind = kind;
    m_lblMsg->setText(text);

    QLabel* picture = m_imgInfo;
    QString title = QStringLiteral("系统提示信息");
    m_leftColour = QColor(255, 255, 255);
    m_rightColour = QColor(128, 224, 240);
    if (kind == 0) {
        picture = m_imgError;
        title = QStringLiteral("系统错误信息");
        m_rightColour = QColor(240, 128, 128);
    } else if (kind == 2) {
        picture = m_imgWarning;
        title = QStringLiteral("系统警告信息");
        m_rightColour = QColor(224, 240, 128);
    }
    for (QLabel* img : {m_imgError, m_imgWarning, m_imgInfo})
        img->setVisible(img == picture);
    m_lblIcon->setText(title);

    // Grow for a long text, but never beyond the work area, where it could not come to rest.
    int needed = layoutMessage(text, m_lblMsg->font(), kMsgWidth, nullptr);
    const int maxExtra = qMax(0, workArea().height() - kHeight);
    needed = qMin(needed, kMsgHeight + maxExtra);
    const int extra = qMax(0, needed - kMsgHeight);
    m_lblMsg->resize(kMsgWidth, kMsgHeight + extra);
    resize(kWidth, kHeight + extra);
    paintBackground();
}

void TMsgForm::start()
{
    const QRect area = workArea();
    const int areaRight = area.x() + area.width();
    const int areaBottom = area.y() + area.height();
    move(areaRight - width() - 1, areaBottom - 6);
    show();
    raise();
    m_rest.setInterval(2000);
}

void TMsgForm::paintBackground()
{
    const QSize size = this->size();
    if (m_background.size() != size)
        m_background = QImage(size, QImage::Format_RGB888);
    const int w = size.width();
    uchar* first = m_background.scanLine(0);
    for (int i = 0; i < w; ++i) {
        first[3 * i] = static_cast<uchar>(m_leftColour.red() +
                                          (m_rightColour.red() - m_leftColour.red()) * i / w);
        first[3 * i + 1] = static_cast<uchar>(
            m_leftColour.green() + (m_rightColour.green() - m_leftColour.green()) * i / w);
        first[3 * i + 2] = static_cast<uchar>(
            m_leftColour.blue() + (m_rightColour.blue() - m_leftColour.blue()) * i / w);
    }
    for (int y = 1; y < size.height(); ++y)
        std::memcpy(m_background.scanLine(y), first, static_cast<size_t>(3 * w));
    QPainter p(&m_background);
    p.setPen(QColor(119, 119, 119));
    p.drawRect(0, 0, w - 1, size.height() - 1);
    p.end();
    update();
}

void TMsgForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_background);
}

void TMsgForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_background.size() != size() && m_leftColour.isValid())
        paintBackground();
}

bool TMsgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblMsg && event->type() == QEvent::Paint) {
        QPainter p(m_lblMsg);
        p.setPen(QColor(0, 0, 255));
        p.setFont(m_lblMsg->font());
        p.setClipRect(m_lblMsg->rect());
        layoutMessage(m_text, m_lblMsg->font(), m_lblMsg->width(), &p);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMsgForm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (m_phase == Phase::SlidingIn || m_phase == Phase::Resting)
        endRest();
}

void TMsgForm::slideInTick()
{
    ++m_ticks;
    m_step = m_ticks * 3 / 11 + 1;
    const QRect area = workArea();
    const int areaBottom = area.y() + area.height();
    const int restTop = areaBottom - height();
    if (y() + height() <= areaBottom) {
        m_slideIn.stop();
        m_phase = Phase::Resting;
        m_rest.start();
        return;
    }
    move(x(), qMax(y() - m_step, restTop));
}

void TMsgForm::endRest()
{
    m_slideIn.stop();
    m_rest.stop();
    m_phase = Phase::SlidingOut;
    m_slideOut.start();
}

void TMsgForm::slideOutTick()
{
    if (m_ticks > 0)
        --m_ticks;
    m_step = m_ticks * 3 / 11 + 1;
    move(x(), y() + m_step);
    const QRect area = workArea();
    if (y() >= area.y() + area.height()) {
        m_slideIn.stop();
        m_rest.stop();
        m_slideOut.stop();
        m_phase = Phase::Closed;
        close();  // deletes the window (WA_DeleteOnClose)
    }
}
