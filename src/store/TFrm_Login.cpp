#include "store/TFrm_Login.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

#include "store/Cipher.h"
#include "store/Password.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"

namespace {

constexpr int kMaxTries = 3;

// The header picture: a photo print with a small padlock over its corner, drawn at the
// screen's pixel ratio so it stays sharp.
QPixmap headerPicture(qreal ratio) {
    const QSize size(64, 56);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The print, turned slightly, with a soft shadow and a white border.
    p.save();
    p.translate(28, 26);
    p.rotate(-8);
    const QRectF print(-24, -18, 48, 36);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(print.translated(2, 2), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(190, 196, 206), 0.8));
    p.drawRoundedRect(print, 2, 2);

    const QRectF scene = print.adjusted(3, 3, -3, -3);
    p.setClipRect(scene);
    QLinearGradient sky(scene.topLeft(), scene.bottomLeft());
    sky.setColorAt(0, QColor(74, 144, 226));
    sky.setColorAt(1, QColor(190, 224, 250));
    p.setPen(Qt::NoPen);
    p.fillRect(scene, sky);
    p.setBrush(QColor(255, 214, 90));
    p.drawEllipse(QPointF(scene.right() - 9, scene.top() + 8), 4.5, 4.5);
    QPainterPath far;
    far.moveTo(scene.left(), scene.bottom());
    far.lineTo(scene.left(), scene.bottom() - 10);
    far.lineTo(scene.left() + 14, scene.top() + 9);
    far.lineTo(scene.left() + 26, scene.bottom() - 8);
    far.lineTo(scene.right(), scene.bottom() - 14);
    far.lineTo(scene.right(), scene.bottom());
    far.closeSubpath();
    p.setBrush(QColor(72, 132, 96));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(scene.left(), scene.bottom());
    near.quadTo(scene.center().x(), scene.bottom() - 12, scene.right(), scene.bottom() - 3);
    near.lineTo(scene.right(), scene.bottom());
    near.closeSubpath();
    p.setBrush(QColor(112, 178, 92));
    p.drawPath(near);
    p.restore();

    // The padlock in the lower right corner.
    const QRectF body(40, 33, 20, 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 124, 132), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(body.left() + 4, body.top() - 9, body.width() - 8, 18), 0, 180 * 16);
    QLinearGradient gold(body.topLeft(), body.bottomLeft());
    gold.setColorAt(0, QColor(255, 210, 96));
    gold.setColorAt(1, QColor(222, 150, 30));
    p.setPen(QPen(QColor(170, 110, 20), 1));
    p.setBrush(gold);
    p.drawRoundedRect(body, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 10));
    p.drawEllipse(QPointF(body.center().x(), body.center().y() - 1.5), 2.2, 2.2);
    p.drawRect(QRectF(body.center().x() - 1, body.center().y(), 2, 4.5));
    return pixmap;
}

}  // namespace

TFrm_Login::TFrm_Login(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("TFrm_Login"));
    setWindowTitle(QStringLiteral("请输入访问密码"));
    setFixedSize(387, 242);

    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("Panel1"));
    header->setGeometry(0, 0, width(), 68);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, Qt::white);
    header->setPalette(headerPalette);

    QLabel* welcome = ui::label(header, QStringLiteral("欢迎使用晴窗影册"), 27, 27);
    QFont welcomeFont = font();
    welcomeFont.setBold(true);
    welcomeFont.setPixelSize(16);
    welcome->setFont(welcomeFont);
    QPalette welcomePalette = welcome->palette();
    welcomePalette.setColor(QPalette::WindowText, QColor(0, 70, 180));
    welcome->setPalette(welcomePalette);
    welcome->adjustSize();

    auto* picture = new QLabel(header);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(headerPicture(devicePixelRatio()));
    picture->setGeometry(width() - 64 - 14, 6, 64, 56);

    // A thin rule under the white header separates it from the dialog face.
    ui::horizontalRule(this, {0, 67, width(), 2});

    ui::label(this, QStringLiteral("请输入您的访问密码：（注意密码区分大小写）"), 74, 88);

    // The field label sits on a white copy of itself one pixel higher: an engraved look.
    QLabel* engraving = ui::label(this, QStringLiteral("密  码："), 91, 128);
    QPalette engravingPalette = engraving->palette();
    engravingPalette.setColor(QPalette::WindowText, Qt::white);
    engraving->setPalette(engravingPalette);
    ui::label(this, QStringLiteral("密  码："), 91, 129);

    edtPassword = ui::passwordEdit(this, "edtPassword", {144, 124, 155, 20});

    ui::horizontalRule(this, {8, 168, width() - 16, 2})->setObjectName(QStringLiteral("Bevel1"));

    BtnOK = ui::button(this, QStringLiteral("确定(&O)"), "BtnOK", {90, 194, 80, 28});
    BtnOK->setDefault(true);

    BtnCLose = ui::button(this, QStringLiteral("退出(&C)"), "BtnCLose", {225, 194, 80, 28});

    setTabOrder(edtPassword, BtnOK);
    setTabOrder(BtnOK, BtnCLose);
    edtPassword->setFocus();

    connect(BtnOK, &QPushButton::clicked, this, &TFrm_Login::BtnOKClick);
    connect(BtnCLose, &QPushButton::clicked, this, &TFrm_Login::reject);
}

void TFrm_Login::SetCipher(const QString& cipher) {
    try {
        m_password = store::DecryptText(cipher, QString::fromLatin1(store::kCipherKey));
    } catch (const store::CipherError&) {
        m_password.reset();
    }
}

void TFrm_Login::BtnOKClick() {
    if (m_password && store::trimBlanks(edtPassword->text()) == *m_password) {
        accept();
        return;
    }
    ++m_wrongCount;
    if (m_wrongCount < kMaxTries) {
        ui::ShowNotice(QStringLiteral("您输入的密码不正确，请重新输入密码！（密码区分大小写）"),
                       ui::NoticeInfo);
        edtPassword->selectAll();
        edtPassword->setFocus();
        return;
    }
    ui::ShowNotice(QStringLiteral("您连续输入了错误密码三次了，系统将自动退出！"), ui::NoticeInfo);
    reject();
}
