#pragma once

// The photo commands of the main window: add photos from files (tag 104), edit a photo's name
// and description (105), move a photo to the recycle bin (106), export the previewed photo
// (ToolButton25Click), acquire a photo from a scanner or camera (N57Click) and choose the
// device to acquire from (N49Click).
//
//   photos::PhotoCommands::Context context{&m_library, m_browser, Tree, m_treeMaker, this};
//   m_photoCommands = new photos::PhotoCommands(context, this);
//   ... ItemClick: if (m_photoCommands->run(tag)) return;
//
// On a library opened read-only every command that writes says so and changes nothing.
// Adding photos reports a file that cannot be added itself (the photos before it stay); edit
// and delete raise db::DbError from the engine for the caller to show, and change the list
// only after the statement succeeded. Acquisition reports device errors and ends silently
// when the user cancels.

#include <QObject>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QWidget;
class TTreeMaker;

namespace store {
class PhotoLibrary;
}

namespace photos {

class PhotoBrowser;
struct ImportResult;

class PhotoCommands final : public QObject {
    Q_OBJECT
public:
    struct Context {
        store::PhotoLibrary* library = nullptr;
        PhotoBrowser* browser = nullptr;
        QTreeWidget* tree = nullptr;
        TTreeMaker* treeMaker = nullptr;
        QWidget* dialogParent = nullptr;
    };

    explicit PhotoCommands(const Context& context, QObject* parent = nullptr);

    // Runs the command of an ItemClick tag (104, 105, 106); false for any other tag.
    bool run(int tag);

    void AddPhotos();
    void EditPhoto();
    void DeletePhoto();
    void ToolButton25Click();
    void N57Click();
    void N49Click();

    // The device acquisition uses; chosen with N49Click (or in N57Click's list), empty until
    // then, when the first device found is offered.
    QString scanDevice() const { return m_scanDevice; }
    void setScanDevice(const QString& name) { m_scanDevice = name; }

    // The filter of the add-photos dialog, in Qt's "text (patterns);;..." form.
    static QString openImageFilter();
    // The filter of the export dialog.
    static QString savePictureFilter();

private:
    bool requireWritable();
    bool selectedAlbumId(QString& id);
    void reloadAlbum();
    bool addFiles(const QString& albumId, const QStringList& files);
    void reportImportFailure(const ImportResult& result, int chosen);
    bool chooseScanDevice();

    Context m_context;
    QString m_scanDevice;
};

}  // namespace photos
