#pragma once

#include <QString>

#include "ui/TFrmBase.h"

class QLineEdit;
class QPushButton;

// Asks for the library password twice. Ends with OK only when both entries agree (blanks
// around them ignored, letter case significant); the caller stores password().
class TFrm_SetPwd final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrm_SetPwd(QWidget* parent = nullptr);

    // The first entry without its leading and trailing blanks.
    QString password() const;

private:
    void BtnOKClick();

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnClose = nullptr;
};
