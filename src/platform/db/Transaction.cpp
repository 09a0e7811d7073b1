#include "platform/db/Transaction.h"

#include "platform/db/Connection.h"

namespace db {

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.execute(QStringLiteral("BEGIN"));
}

Transaction::~Transaction() {
    if (m_done) return;
    try {
        m_connection.execute(QStringLiteral("ROLLBACK"));
    } catch (...) {
        // The engine may already have rolled back after the failure; nothing more to undo.
    }
}

void Transaction::commit() {
    m_connection.execute(QStringLiteral("COMMIT"));
    m_done = true;
}

}  // namespace db
