#pragma once

#include <QString>
#include <optional>

#include "ui/TFrmBase.h"

class QLineEdit;
class QPushButton;

// The login window shown at start-up for a protected library. It is given the stored cipher
// text, allows three tries and ends with OK on the right password, with Cancel after the third
// wrong entry or when the user leaves.
class TFrm_Login final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrm_Login(QWidget* parent = nullptr);

    // The stored cipher text of the password. A text that cannot be deciphered matches no entry.
    void SetCipher(const QString& cipher);
    int wrongCount() const { return m_wrongCount; }

private:
    void BtnOKClick();

    QLineEdit* edtPassword = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCLose = nullptr;
    std::optional<QString> m_password;
    int m_wrongCount = 0;
};
