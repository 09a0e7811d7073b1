#pragma once

// The recycle bin window: lists every photo whose album_id is NULL or 0, previews the
// selected one, restores it into an album chosen with the album picker, or deletes it for
// good after asking. The list is read each time the window is shown.
//
//   photos::TFrm_RecycleBin bin(library, this);
//   bin.exec();
//   // then, when "自动刷新" is checked, reload the photo list of the selected album
//
// On a library opened read-only, restoring and deleting are refused with a message and
// nothing is written.

#include "ui/TFrmBase.h"

class QLabel;
class QPushButton;
class QStatusBar;
class QTableWidget;

namespace image {
class ImageView;
}

namespace store {
class PhotoLibrary;
}

namespace photos {

class TFrm_RecycleBin final : public TFrmBase {
    Q_OBJECT
public:
    // Columns of ListView1: the caption and its sub-items.
    enum Column { NameColumn, RemarkColumn, IdColumn, TempFileColumn, ColumnCount };

    explicit TFrm_RecycleBin(store::PhotoLibrary& library, QWidget* parent = nullptr);
    ~TFrm_RecycleBin() override;

    // Components, named as the form names them.
    QTableWidget* ListView1 = nullptr;
    QLabel* Label1 = nullptr;
    image::ImageView* ImageEn1 = nullptr;
    QPushButton* BtnResume = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BtnClose = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusText = nullptr;   // the status bar's one panel

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ListView1Click();
    void BitBtn1Click();
    void BtnResumeClick();

    bool refuseReadOnly();
    int selectedRow() const;
    void removeRow(int row);
    void paintRows();
    void showFile(const QString& path);

    store::PhotoLibrary& m_library;
};

}  // namespace photos
