#pragma once

#include <stdexcept>

#include <QString>

namespace albums {

// Raised by the album tree builder when a tree or a selection it needs is missing:
// "导航树不存在。", "不存在选择的相册。", "指定的相册不存在。".
class TreeError final : public std::runtime_error {
public:
    explicit TreeError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

}  // namespace albums
