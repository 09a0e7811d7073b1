#pragma once

// The SANE library's lifetime. sane_init runs when the first session of the process is made and
// sane_exit when the last one goes, so every init has exactly one exit however sessions nest
// (a device list while a scanner is open shares the one initialisation). SANE reads its
// configuration at init: SANE_CONFIG_DIR names the folder whose dll.conf lists the backends.
//
// Sessions belong to the UI thread; SANE itself is not thread-safe.

#include <QList>
#include <QString>

#include "platform/scan/ScanTypes.h"

namespace scan {

class SaneSession final {
public:
    SaneSession();
    ~SaneSession();
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;

    // False when sane_init failed; error() then says why.
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

    // The devices SANE finds now (network backends included unless localOnly). Empty with
    // *error set when the list cannot be had.
    QList<DeviceInfo> devices(bool localOnly = false, QString* error = nullptr) const;

    // Sessions alive in this process; for tests of the init/exit balance.
    static int activeSessions();

private:
    bool m_ok = false;
    QString m_error;
};

}  // namespace scan
