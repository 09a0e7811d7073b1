#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace db {
class Query;
}
namespace media {
class MusicPlayer;
}

namespace show {

// The background music list of a library and a player to listen to its files: add music
// files, delete an entry after a question, play, pause or resume, stop. Entries are kept in
// the library at once, whatever the dialog holding the page does later. Database errors are
// shown as the engine's message; the page and its rows stay as they were.
//
// The scratch query is used for one statement at a time and must outlive the page.
class MusicListPage final : public QWidget {
    Q_OBJECT
public:
    explicit MusicListPage(db::Query& scratch, QWidget* parent = nullptr);
    ~MusicListPage() override;

    // Refills the list from the library.
    void fillMusicList();
    // Lets the file go; listening ends.
    void closePlayer();

    media::MusicPlayer* player() const { return MediaPlayer1; }

    void sbAddClick();
    void sbDelClick();
    void sbPlayClick();
    void sbPasueClick();
    void sbStopClick();

private:
    void fill(bool reportErrors);
    void ListView1SelectItem();
    void MediaPlayer1Failed(const QString& fileName, const QString& reason);
    bool requireWritable();
    void showDbError(const QString& message);

    db::Query& m_scratch;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* sbAdd = nullptr;
    QPushButton* sbDel = nullptr;
    QPushButton* sbPlay = nullptr;
    QPushButton* sbPasue = nullptr;
    QPushButton* sbStop = nullptr;
    QLabel* Label3 = nullptr;
    media::MusicPlayer* MediaPlayer1 = nullptr;
};

}  // namespace show
