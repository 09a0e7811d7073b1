#pragma once

#include <stdexcept>

#include <QString>

namespace db {

// The one error type of the database layer: carries the engine's own message.
class DbError final : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

}  // namespace db
