#pragma once

// The photo's name and description ("照片说明"), with the photo fitted beside them. The
// dialog only collects: OK is refused while the trimmed name is empty, and the caller writes
// the library.

#include "ui/TFrmBase.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace image {
class ImageView;
}

class TFrmPic_Edit final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmPic_Edit(QWidget* parent = nullptr);

    void setPhotoName(const QString& name);
    void setDescription(const QString& description);
    // Shows the image file fitted into the 233 x 214 picture area (nothing when it cannot be
    // read).
    void loadPicture(const QString& path);

    // As typed, trimmed.
    QString photoName() const;
    QString description() const;

    QLineEdit* Edit1() const { return m_name; }
    QPlainTextEdit* Memo1() const { return m_description; }
    image::ImageView* ImageEnView1() const { return m_picture; }

private:
    void BtnSaveClick();

    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_description = nullptr;
    image::ImageView* m_picture = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
};
