#include "app/TFrm_Param.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppSettings.h"
#include "platform/db/DbError.h"
#include "platform/desktop/IniFile.h"
#include "show/MusicListPage.h"
#include "show/MusicRows.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"

const QString TFrm_Param::kDefaultTitle = QStringLiteral("晴窗影册 Fotarix 2006 光盘浏览版");

namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// The settings file's library entry; written here directly so that a failure can be told.
const QString kPicDb = QStringLiteral("PicDb");
const QString kPicDbName = QStringLiteral("picdbname");

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets) layout->addWidget(w);
    if (stretch) layout->addStretch();
    return layout;
}

// Digits and the decimal point only, typed or pasted; backspace and Enter are keys, not text,
// and are not affected.
void numbersOnly(QLineEdit* edit) {
    static const QRegularExpression digitsAndPoint(QStringLiteral("[0-9.]*"));
    edit->setValidator(new QRegularExpressionValidator(digitsAndPoint, edit));
}

QString boolText(const QCheckBox* box) { return box->isChecked() ? kTrue : kFalse; }

}  // namespace

TFrm_Param::TFrm_Param(store::PhotoLibrary& library, QWidget* parent)
    : TFrmBase(parent), m_library(library) {
    setObjectName(QStringLiteral("TFrm_Param"));
    setWindowTitle(QStringLiteral("系统设置"));
    resize(480, 430);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* basic = new QWidget;
    basic->setObjectName(QStringLiteral("TabSheet1"));
    auto* music = new QWidget;
    music->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(basic, QStringLiteral(" 基本参数设置 "));
    PageControl1->addTab(music, QStringLiteral(" 幻灯片音乐 "));
    buildBasicPage(basic);
    buildMusicPage(music);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label5 = ui::label(this, QStringLiteral("系统应用参数设置"), "Label5");
    BtnSave = ui::button(this, QStringLiteral("确定(&S)"), "BtnSave");
    BtnCancel = ui::button(this, QStringLiteral("取消(&C)"), "BtnCancel");

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(icon);
    bottom->addWidget(Label5);
    bottom->addStretch();
    bottom->addWidget(BtnSave);
    bottom->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    connect(BtnSave, &QPushButton::clicked, this, &TFrm_Param::BtnSaveClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrm_Param::reject);
}

TFrm_Param::~TFrm_Param() = default;

void TFrm_Param::buildBasicPage(QWidget* page) {
    GroupBox1 = new QGroupBox(QStringLiteral(" 照片浏览 "), page);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* zoomLabel = new QLabel(QStringLiteral("缩放比例："), GroupBox1);
    EdtZoom = ui::lineEdit(GroupBox1, "EdtZoom");
    EdtZoom->setFixedWidth(60);
    numbersOnly(EdtZoom);
    auto* percent = new QLabel(QStringLiteral("%"), GroupBox1);
    CheckBox3 = ui::checkBox(GroupBox1, QStringLiteral("启用空格键切换照片"), "CheckBox3");
    CheckBox4 = ui::checkBox(GroupBox1, QStringLiteral("照片自动适应窗口"), "CheckBox4");
    auto* fitNote = new QLabel(QStringLiteral("（否则显示照片原始大小）"), GroupBox1);
    auto* browse = new QVBoxLayout(GroupBox1);
    browse->addLayout(row({zoomLabel, EdtZoom, percent}));
    browse->addWidget(CheckBox3);
    browse->addWidget(CheckBox4);
    browse->addWidget(fitNote);

    GroupBox2 = new QGroupBox(QStringLiteral(" 幻灯片放映 "), page);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    // The interval field sits in the blank part of the check box's caption.
    CheckBox5 = ui::checkBox(GroupBox2, QStringLiteral("切换时间         秒"), "CheckBox5");
    CheckBox5->setChecked(true);
    EdtTime = ui::lineEdit(CheckBox5, "EdtTime");
    EdtTime->setToolTip(QStringLiteral("1000毫秒为1秒"));
    numbersOnly(EdtTime);
    CheckBox5->setMinimumHeight(EdtTime->sizeHint().height());
    CheckBox6 = ui::checkBox(GroupBox2, QStringLiteral("自动切换到全屏幕方式"), "CheckBox6");
    CheckBox7 = ui::checkBox(GroupBox2, QStringLiteral("循环放映（重放）"), "CheckBox7");
    CheckBox1 = ui::checkBox(GroupBox2, QStringLiteral("随机使用切换效果"), "CheckBox1");
    auto* show = new QVBoxLayout(GroupBox2);
    show->addWidget(CheckBox5);
    show->addWidget(CheckBox6);
    show->addWidget(CheckBox7);
    show->addWidget(CheckBox1);
    connect(CheckBox5, &QCheckBox::toggled, this, &TFrm_Param::CheckBox5Click);

    GroupBox3 = new QGroupBox(QStringLiteral(" 其他设置 "), page);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    CheckBox2 = ui::checkBox(GroupBox3, QStringLiteral("启动显示每日一帖"), "CheckBox2");
    CheckBox8 = ui::checkBox(GroupBox3, QStringLiteral("显示提示信息"), "CheckBox8");
    CheckBox9 = ui::checkBox(GroupBox3, QStringLiteral("当有新版本时自动更新"), "CheckBox9");
    CheckBox12 = ui::checkBox(GroupBox3, QStringLiteral("光盘浏览版程序标题"), "CheckBox12");
    EdtTitle = ui::lineEdit(GroupBox3, "EdtTitle");
    auto* libraryLabel = new QLabel(QStringLiteral("默认照片库："), GroupBox3);
    EdtPicDb = ui::lineEdit(GroupBox3, "EdtPicDb");
    EdtPicDb->setReadOnly(true);
    SpeedButton1 = new QToolButton(GroupBox3);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    auto* other = new QVBoxLayout(GroupBox3);
    other->addWidget(CheckBox2);
    other->addWidget(CheckBox8);
    other->addWidget(CheckBox9);
    auto* titleRow = row({CheckBox12, EdtTitle}, false);
    titleRow->setStretch(1, 1);
    other->addLayout(titleRow);
    auto* libraryRow = row({libraryLabel, EdtPicDb, SpeedButton1}, false);
    libraryRow->setStretch(1, 1);
    other->addLayout(libraryRow);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFrm_Param::SpeedButton1Click);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox3);
    layout->addStretch();
}

void TFrm_Param::buildMusicPage(QWidget* page) {
    CheckBox10 = ui::checkBox(page, QStringLiteral("是否播放音乐"), "CheckBox10");
    CheckBox11 = ui::checkBox(page, QStringLiteral("是否循环播放"), "CheckBox11");
    m_music = new show::MusicListPage(m_library.AdoTemp(), page);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row({CheckBox10, CheckBox11}));
    layout->addWidget(m_music, 1);
}

void TFrm_Param::placeEdtTime() {
    // Over the blanks of the caption, between "切换时间" and "秒".
    QStyleOptionButton option;
    option.initFrom(CheckBox5);
    const int textStart = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, CheckBox5) +
                          style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, CheckBox5);
    const QFontMetrics fm(CheckBox5->font());
    const QString caption = CheckBox5->text();
    const QString before = caption.left(4);
    const int gapStart = fm.horizontalAdvance(before);
    const int gapEnd = fm.horizontalAdvance(caption.left(caption.size() - 1));
    const int height = qMin(EdtTime->sizeHint().height(), CheckBox5->height());
    EdtTime->setGeometry(textStart + gapStart + 2, (CheckBox5->height() - height) / 2,
                         qMax(gapEnd - gapStart - 4, 16), height);
}

void TFrm_Param::showEvent(QShowEvent* event) {
    TFrmBase::showEvent(event);
    placeEdtTime();
    if (!event->spontaneous()) FormShow();
}

void TFrm_Param::FormShow() {
    PageControl1->setCurrentIndex(0);
    try {
        auto text = [this](const QString& key, const QString& fallback) {
            const QString value = m_library.ReadParameter(key);
            return value.isEmpty() ? fallback : value;
        };
        auto check = [this](QCheckBox* box, const QString& key) {
            box->setChecked(m_library.ReadParameter(key) != kFalse);
        };
        EdtZoom->setText(text(QStringLiteral("缩放比例"), QStringLiteral("10")));
        check(CheckBox3, QStringLiteral("空格切换照片"));
        check(CheckBox4, QStringLiteral("自动适应窗口"));
        EdtTime->setText(text(QStringLiteral("切换时间"), QStringLiteral("2")));
        check(CheckBox6, QStringLiteral("全屏幕幻灯"));
        check(CheckBox7, QStringLiteral("重复放映"));
        check(CheckBox2, QStringLiteral("每日一帖"));
        check(CheckBox8, QStringLiteral("工具栏提示"));
        check(CheckBox9, QStringLiteral("自动升级更新"));
        check(CheckBox1, QStringLiteral("随机使用切换效果"));
        check(CheckBox10, QStringLiteral("是否播放音乐"));
        check(CheckBox11, QStringLiteral("是否循环播放"));
        EdtTitle->setText(text(QStringLiteral("程序标题"), kDefaultTitle));
        EdtPicDb->setText(app::readLibraryPath());
        // A read-only library cannot take the table; its music list is simply empty then.
        if (!m_library.readOnly() && !m_library.TableExists(QStringLiteral("ScrFiles")))
            m_library.ExecuteSql(QStringLiteral(
                "create table ScrFiles(id counter PRIMARY KEY, scr_type LONGTEXT,title "
                "LONGTEXT,remark LONGTEXT,file_name LONGTEXT,file_content LONGBINARY\t)"));
    } catch (const db::DbError& e) {
        ui::dialogs::message(this, QStringLiteral("提示信息"), e.message(), QMessageBox::Critical);
    }
    m_music->fillMusicList();
}

void TFrm_Param::BtnSaveClick() {
    if (m_library.readOnly()) {
        ui::dialogs::warn(this, QStringLiteral("当前照片库是以只读方式打开的，不能保存设置！"));
        return;
    }
    const QString time = EdtTime->text().trimmed();
    const QString title = EdtTitle->text().trimmed();
    try {
        m_library.WriteParameter(QStringLiteral("缩放比例"), EdtZoom->text().trimmed());
        m_library.WriteParameter(QStringLiteral("随机使用切换效果"), boolText(CheckBox1));
        m_library.WriteParameter(QStringLiteral("空格切换照片"), boolText(CheckBox3));
        m_library.WriteParameter(QStringLiteral("自动适应窗口"), boolText(CheckBox4));
        m_library.WriteParameter(QStringLiteral("切换时间"),
                                 time.isEmpty() ? QStringLiteral("2") : time);
        m_library.WriteParameter(QStringLiteral("全屏幕幻灯"), boolText(CheckBox6));
        m_library.WriteParameter(QStringLiteral("重复放映"), boolText(CheckBox7));
        m_library.WriteParameter(QStringLiteral("每日一帖"), boolText(CheckBox2));
        m_library.WriteParameter(QStringLiteral("工具栏提示"), boolText(CheckBox8));
        m_library.WriteParameter(QStringLiteral("自动升级更新"), boolText(CheckBox9));
        m_library.WriteParameter(QStringLiteral("是否播放音乐"), boolText(CheckBox10));
        m_library.WriteParameter(QStringLiteral("是否循环播放"), boolText(CheckBox11));
        m_library.WriteParameter(QStringLiteral("程序标题"),
                                 title.isEmpty() ? kDefaultTitle : title);
    } catch (const db::DbError& e) {
        ui::dialogs::message(this, QStringLiteral("提示信息"), e.message(), QMessageBox::Critical);
        return;
    }
    if (!desktop::iniWrite(app::settingsFilePath(), kPicDb, kPicDbName, EdtPicDb->text())) {
        ui::dialogs::message(this, QStringLiteral("提示信息"),
                             QStringLiteral("无法写入设置文件“") + app::settingsFilePath() +
                                 QStringLiteral("”，默认照片库没有保存！"),
                             QMessageBox::Critical);
        return;
    }
    accept();
}

void TFrm_Param::CheckBox5Click() {
    if (!CheckBox5->isChecked()) CheckBox5->setChecked(true);
}

void TFrm_Param::SpeedButton1Click() {
    const QString current = EdtPicDb->text();
    const QString dir = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString chosen = ui::dialogs::openFile(this, QStringLiteral("请选择照片库文件"), dir,
                                                 QStringLiteral("照片库文件 (*.pmd)"));
    if (!chosen.isEmpty()) EdtPicDb->setText(chosen);
}

void TFrm_Param::done(int result) {
    m_music->closePlayer();
    TFrmBase::done(result);
}
