#include "photos/ScanSourceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ScanSourceDialog::ScanSourceDialog(const QList<scan::DeviceInfo>& devices, const QString& current,
                                   QWidget* parent)
    : TFrmBase(parent), m_devices(devices) {
    setObjectName(QStringLiteral("ScanSourceDialog"));
    setWindowTitle(QStringLiteral("选择来源"));
    resize(360, 240);

    auto* label = new QLabel(devices.isEmpty() ? QStringLiteral("没有找到扫描仪或摄像头。")
                                               : QStringLiteral("来源："),
                             this);
    label->setObjectName(QStringLiteral("lblSources"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbSources"));
    int preselected = devices.isEmpty() ? -1 : 0;
    for (int i = 0; i < devices.size(); ++i) {
        m_list->addItem(devices[i].label());
        if (devices[i].name == current) preselected = i;
    }
    m_list->setCurrentRow(preselected);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("选择(&S)"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消(&C)"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(preselected >= 0);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0);
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_buttons);
}

QString ScanSourceDialog::selectedDevice() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < m_devices.size() ? m_devices[row].name : QString();
}

bool ScanSourceDialog::choose(QWidget* parent, const QList<scan::DeviceInfo>& devices,
                              QString& device) {
    ScanSourceDialog dialog(devices, device, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedDevice().isEmpty()) return false;
    device = dialog.selectedDevice();
    return true;
}
