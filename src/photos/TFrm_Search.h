#pragma once

// The photo search window: finds photos in every album and in the recycle bin by a fragment
// of their name or description, searching again on every keystroke, and takes the main
// window to a found photo.
//
//   photos::TFrm_Search search(library, [this](const QString& albumId, const QString& photoId) {
//       // select the album's node, TreeChange, select the photo's row, ListView1Click
//   }, this);
//   search.exec();
//
// Locating (BtnLocate or a double click on a row) hands the current row's album and photo
// ids to the callback and leaves the window open. A photo in the recycle bin (album id NULL
// or 0) is not handed on: the window says where to find it instead.

#include <functional>

#include <QString>

#include "ui/TFrmBase.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace store {
class PhotoLibrary;
}

namespace photos {

class PhotoSearchModel;

class TFrm_Search final : public TFrmBase {
    Q_OBJECT
public:
    using LocateHandler = std::function<void(const QString& albumId, const QString& photoId)>;

    explicit TFrm_Search(store::PhotoLibrary& library, LocateHandler locate = {},
                         QWidget* parent = nullptr);
    ~TFrm_Search() override;

    PhotoSearchModel* model() const { return m_model; }

    // Components, named as the form names them.
    QLabel* Label1 = nullptr;
    QLineEdit* EdtValue = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnLocate = nullptr;
    QPushButton* BtnClose = nullptr;
    QTableView* DBGridEh1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtnOKClick();
    void BtnLocateClick();

    store::PhotoLibrary& m_library;
    LocateHandler m_locate;
    PhotoSearchModel* m_model = nullptr;
};

}  // namespace photos
