#pragma once

#include "ui/TFrmBase.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace store {
class PhotoLibrary;
}
namespace show {
class MusicListPage;
}

// The settings dialog: the library's own settings (one parameter row each) and the default
// library path of the settings file on the first page, the background music list and its two
// settings on the second. Every showing reads the library and the settings file afresh; OK
// writes them all, Cancel nothing. Music entries are kept in the library as soon as they are
// added or deleted.
//
// On a library opened read-only saving is refused with a message and writes nothing. A failing
// write shows the engine's message and leaves the dialog open; rows written before it stay.
class TFrm_Param final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrm_Param(store::PhotoLibrary& library, QWidget* parent = nullptr);
    ~TFrm_Param() override;

    // Shown for "程序标题" when the library holds none, and stored for an empty field.
    static const QString kDefaultTitle;

    // Closing in any way ends the music being listened to.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void BtnSaveClick();
    void SpeedButton1Click();
    void CheckBox5Click();
    void buildBasicPage(QWidget* page);
    void buildMusicPage(QWidget* page);
    void placeEdtTime();

    store::PhotoLibrary& m_library;

    QTabWidget* PageControl1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLineEdit* EdtZoom = nullptr;
    QLineEdit* EdtTime = nullptr;
    QLineEdit* EdtTitle = nullptr;
    QLineEdit* EdtPicDb = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnCancel = nullptr;
    show::MusicListPage* m_music = nullptr;
};
