#pragma once

#include "PictureFile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTreeView;

// The save window: a folder browser rooted at the picture folder (BrowseFolder1), the picture's
// current file (OldFname), the file type (CboTo), a proposed new name (NewFname) and, for
// compressed saving, the compression panel (FrmCompressed) under the heading Label4. The window
// only chooses: the editor saves to targetPath() with options() once it is accepted.
class SavePictureDialog : public QDialog
{
    Q_OBJECT
public:
    SavePictureDialog(const QString &pictureFolder, const QString &oldFile, bool compressed,
                      QWidget *parent = nullptr);

    // The folder chosen plus the new name, its extension made to match the type.
    QString targetPath() const;
    // The type, compression and quality chosen; profiles are kept unless the user strips them.
    PictureFile::Options options(const PictureProfiles &profiles) const;

    // The type's extension given to name: added, or put in place of another picture type's.
    static QString withExtension(const QString &name, const QString &ext);

    void accept() override;

private:
    void typeChosen();
    QGroupBox *buildCompressionPanel();

    QString m_folder;
    QFileSystemModel *m_model = nullptr;
    QTreeView *m_folders = nullptr;     // BrowseFolder1
    QLineEdit *m_oldName = nullptr;     // OldFname
    QComboBox *m_type = nullptr;        // CboTo
    QLineEdit *m_newName = nullptr;     // NewFname
    QGroupBox *m_compressed = nullptr;  // FrmCompressed
    QSlider *m_quality = nullptr;       // sldQuality
    QLabel *m_qualityValue = nullptr;   // lblQuality
    QComboBox *m_compression = nullptr; // cboCompression
    QCheckBox *m_keepInfo = nullptr;    // chkKeepInfo
    QLabel *m_note = nullptr;           // lblTypeNote
};
