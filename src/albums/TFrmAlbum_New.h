#pragma once

#include <QString>

#include "ui/TFrmBase.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace store {
class PhotoLibrary;
}

// The album dialog: name, remark and parent album of a new album ("新建相册") or of an
// existing one (the caller sets the caption "编辑相册属性" and the album's own id). It closes
// with OK only when a name is filled in and a parent album is shown; the caller writes the
// album. The parent is chosen with the album picker (SpeedButton1); for an existing album the
// picker's choice is refused when it is the album itself or one of its sub-albums.
class TFrmAlbum_New final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmAlbum_New(store::PhotoLibrary& library, QWidget* parent = nullptr);

    // The parent album: its id and its caption (shown in Edit2).
    void setParentAlbum(const QString& id, const QString& caption);
    QString parentId() const { return m_parentId; }
    QString parentCaption() const { return m_parentCaption; }
    // The edited album's id; empty for a new album.
    void setOwnId(const QString& id) { m_ownId = id; }
    QString ownId() const { return m_ownId; }

    void setAlbumName(const QString& name);
    void setRemark(const QString& remark);
    // The name and the remark as they are to be stored: without surrounding blanks.
    QString albumName() const;
    QString remark() const;

    // Refuses to close while the name or the parent is empty, telling the user which.
    void BtnSaveClick();
    // Chooses the parent album with the picker.
    void SpeedButton1Click();

    // Components, named as the form names them.
    QLineEdit* Edit2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnClose = nullptr;

private:
    store::PhotoLibrary& m_library;
    QString m_parentId;
    QString m_parentCaption;
    QString m_ownId;
};
