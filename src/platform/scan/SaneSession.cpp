#include "platform/scan/SaneSession.h"

#include <sane/sane.h>

namespace scan {
namespace {

int g_sessions = 0;          // live sessions
bool g_initialised = false;  // sane_init succeeded for them
QString g_initError;

}  // namespace

QString DeviceInfo::label() const {
    const QString text = QString(vendor + u' ' + model).trimmed();
    if (text.isEmpty()) return name;
    return text + QStringLiteral(" (") + name + u')';
}

SaneSession::SaneSession() {
    if (g_sessions++ == 0) {
        SANE_Int version = 0;
        const SANE_Status status = sane_init(&version, nullptr);
        g_initialised = status == SANE_STATUS_GOOD;
        g_initError = g_initialised ? QString()
                                    : QStringLiteral("无法初始化扫描仪接口：") +
                                          QString::fromUtf8(sane_strstatus(status));
    }
    m_ok = g_initialised;
    m_error = g_initError;
}

SaneSession::~SaneSession() {
    if (--g_sessions == 0 && g_initialised) {
        sane_exit();
        g_initialised = false;
    }
}

int SaneSession::activeSessions() { return g_sessions; }

QList<DeviceInfo> SaneSession::devices(bool localOnly, QString* error) const {
    QList<DeviceInfo> result;
    if (!m_ok) {
        if (error) *error = m_error;
        return result;
    }
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, localOnly ? SANE_TRUE : SANE_FALSE);
    if (status != SANE_STATUS_GOOD) {
        if (error)
            *error = QStringLiteral("无法列出扫描设备：") + QString::fromUtf8(sane_strstatus(status));
        return result;
    }
    // The list belongs to SANE and lives only until the next call: copy it.
    for (int i = 0; list && list[i]; ++i) {
        const SANE_Device* d = list[i];
        result.append({QString::fromUtf8(d->name ? d->name : ""),
                       QString::fromUtf8(d->vendor ? d->vendor : ""),
                       QString::fromUtf8(d->model ? d->model : ""),
                       QString::fromUtf8(d->type ? d->type : "")});
    }
    if (error) error->clear();
    return result;
}

}  // namespace scan
