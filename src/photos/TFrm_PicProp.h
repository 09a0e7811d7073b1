#pragma once

#include <optional>

#include <QList>
#include <QSize>
#include <QString>

#include "platform/image/InfoRows.h"
#include "platform/image/PixelFormat.h"
#include "ui/TFrmBase.h"

class QDateTime;
class QLabel;
class QTableWidget;
class QTabWidget;
class QPushButton;
class QTreeWidget;

namespace photos {
class PhotoBrowser;
}

// The photo properties dialog: the basic file facts of the selected photo on one page, its
// information rows on the other. Everything it shows is handed to it in an Input: the list
// row's caption, the photo's temporary file, and what the preview holds.
//
//   if (auto input = TFrm_PicProp::collect(*browser, Tree)) {   // notices when it cannot
//       TFrm_PicProp dialog(*input, this);
//       dialog.exec();
//   }
class TFrm_PicProp final : public TFrmBase {
    Q_OBJECT
public:
    struct Input {
        QString picName;                    // the list row's caption
        QString tempFile;                   // the photo's temporary file
        QSize imageSize;                    // of the preview's image
        image::PixelKind pixelKind = image::PixelKind::None;
        QList<image::InfoRow> infoRows;     // of the preview's image
    };

    // Makes sure a photo is selected and shown, then reads what the dialog needs from the
    // photo list and the preview. No selected row: with no selected album in the tree the
    // notice "请选择相册后再进行操作！", with an empty list "相册【…】中现在还没有照片！"
    // (both kind 1, nothing returned); otherwise the first row is selected and shown. A row
    // whose temporary file is not named, or no longer exists, is shown again first so that
    // the file is written. Database errors come through as db::DbError.
    static std::optional<Input> collect(photos::PhotoBrowser& browser, QTreeWidget* tree);

    explicit TFrm_PicProp(const Input& input, QWidget* parent = nullptr);

    // A file time in the user's short date and long time format; empty when there is none.
    static QString dateTimeText(const QDateTime& value);

private:
    void buildLayout();
    void fill(const Input& input);

    QTabWidget* PageControl1 = nullptr;
    QLabel* lbPicName = nullptr;
    QLabel* lbDbMax = nullptr;
    QLabel* lbCreateDate = nullptr;
    QLabel* lbModifyDate = nullptr;
    QLabel* lbVisitDate = nullptr;
    QLabel* lbFbl = nullptr;
    QLabel* LbExt = nullptr;
    QLabel* LbColor = nullptr;
    QTableWidget* lvInfo = nullptr;
    QPushButton* BtnOK = nullptr;
};
