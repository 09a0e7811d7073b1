#pragma once

// The list of scanners and cameras to acquire from: the user picks one device. It stands where
// the other desktop shows its image-source selection.

#include <QList>

#include "platform/scan/ScanTypes.h"
#include "ui/TFrmBase.h"

class QDialogButtonBox;
class QListWidget;

class ScanSourceDialog final : public TFrmBase {
    Q_OBJECT
public:
    // `current` is preselected when it is among the devices, otherwise the first device.
    ScanSourceDialog(const QList<scan::DeviceInfo>& devices, const QString& current,
                     QWidget* parent = nullptr);

    // The chosen device's name; empty when there is none.
    QString selectedDevice() const;

    // Shows the dialog; true with `device` set to the choice, false when cancelled.
    static bool choose(QWidget* parent, const QList<scan::DeviceInfo>& devices, QString& device);

    QListWidget* lbSources() const { return m_list; }

private:
    QList<scan::DeviceInfo> m_devices;
    QListWidget* m_list = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
