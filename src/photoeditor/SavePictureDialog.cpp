#include "SavePictureDialog.h"

#include "Dialogs.h"
#include "PhotoMessages.h"
#include "PictureFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

SavePictureDialog::SavePictureDialog(const QString &pictureFolder, const QString &oldFile,
                                     bool compressed, QWidget *parent)
    : QDialog(parent), m_folder(pictureFolder)
{
    setObjectName(QStringLiteral("frmSavePicture"));
    setWindowTitle(compressed ? tr("Save as Compressed Picture") : tr("Save Picture As"));

    auto *heading = new QLabel(
        compressed ? QStringLiteral("Save as Compressed Picture") : tr("Save Picture As"), this);
    heading->setObjectName(QStringLiteral("Label4"));
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    heading->setFont(big);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(pictureFolder);
    m_folders = new QTreeView(this);
    m_folders->setObjectName(QStringLiteral("BrowseFolder1"));
    m_folders->setModel(m_model);
    m_folders->setRootIndex(m_model->index(pictureFolder));
    m_folders->setCurrentIndex(m_model->index(pictureFolder));
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->header()->hide();
    m_folders->setMinimumSize(220, 240);

    m_oldName = new QLineEdit(QDir::toNativeSeparators(oldFile), this);
    m_oldName->setObjectName(QStringLiteral("OldFname"));
    m_oldName->setReadOnly(true);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("CboTo"));
    for (const PictureFormats::Format &f : PictureFormats::all())
        m_type->addItem(QStringLiteral("%1 - %2").arg(f.ext, f.description), f.ext);
    // WPG is listed, as the picture types always were, but cannot be chosen.
    auto *items = qobject_cast<QStandardItemModel *>(m_type->model());
    for (int i = 0; i < m_type->count(); ++i) {
        if (!PictureFormats::byExtension(m_type->itemData(i).toString())->canWrite)
            items->item(i)->setEnabled(false);
    }

    const PictureFormats::Format *current = PictureFormats::ofPath(oldFile);
    if (!current || !current->canWrite)
        current = PictureFormats::byExtension(QStringLiteral("JPG"));
    m_type->setCurrentIndex(m_type->findData(current->ext));
    const QString base = QFileInfo(oldFile).completeBaseName();
    m_newName = new QLineEdit(
        withExtension((base.isEmpty() ? tr("picture") : base) + tr(" copy"), current->ext), this);
    m_newName->setObjectName(QStringLiteral("NewFname"));

    m_keepInfo = new QCheckBox(tr("Keep the photo information (EXIF, colour profile)"), this);
    m_keepInfo->setObjectName(QStringLiteral("chkKeepInfo"));
    m_keepInfo->setChecked(true);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblTypeNote"));
    m_note->setWordWrap(true);
    m_compressed = buildCompressionPanel();
    m_compressed->setVisible(compressed);

    auto *form = new QFormLayout;
    form->addRow(tr("Current file"), m_oldName);
    form->addRow(tr("Save as type"), m_type);
    form->addRow(tr("New name"), m_newName);
    auto *right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(m_note);
    right->addWidget(m_keepInfo);
    right->addWidget(m_compressed);
    right->addStretch();
    auto *folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("lblFolder"));
    folderLabel->setWordWrap(true);
    auto showFolder = [this, folderLabel] {
        folderLabel->setText(
            tr("Save in: %1").arg(QDir::toNativeSeparators(QFileInfo(targetPath()).path())));
    };
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, showFolder);
    showFolder();
    auto *left = new QVBoxLayout;
    left->addWidget(folderLabel);
    left->addWidget(m_folders, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("cmdSave"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SavePictureDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    connect(m_type, &QComboBox::currentIndexChanged, this, &SavePictureDialog::typeChosen);
    typeChosen();
    resize(640, 380);
}

QGroupBox *SavePictureDialog::buildCompressionPanel()
{
    auto *panel = new QGroupBox(tr("Compression"), this);
    panel->setObjectName(QStringLiteral("FrmCompressed"));
    m_quality = new QSlider(Qt::Horizontal, panel);
    m_quality->setObjectName(QStringLiteral("sldQuality"));
    m_quality->setRange(1, 100);
    m_quality->setValue(75);
    m_qualityValue = new QLabel(panel);
    m_qualityValue->setObjectName(QStringLiteral("lblQuality"));
    m_qualityValue->setMinimumWidth(32);
    connect(m_quality, &QSlider::valueChanged, m_qualityValue,
            [this](int v) { m_qualityValue->setNum(v); });
    m_qualityValue->setNum(m_quality->value());
    m_compression = new QComboBox(panel);
    m_compression->setObjectName(QStringLiteral("cboCompression"));
    auto *qualityRow = new QHBoxLayout;
    qualityRow->addWidget(m_quality, 1);
    qualityRow->addWidget(m_qualityValue);
    auto *form = new QFormLayout(panel);
    form->addRow(tr("Quality"), qualityRow);
    form->addRow(tr("Method"), m_compression);
    return panel;
}

void SavePictureDialog::typeChosen()
{
    const PictureFormats::Format *f = PictureFormats::byExtension(m_type->currentData().toString());
    m_newName->setText(withExtension(m_newName->text(), f->ext));
    m_quality->setEnabled(f->hasQuality);
    m_compression->clear();
    m_compression->addItems(f->compressions);
    m_compression->setEnabled(f->compressions.size() > 1);
    m_keepInfo->setEnabled(f->keepsMetadata);
    m_note->setText(f->keepsMetadata ? QString()
                                     : tr("%1 files keep no photo information.").arg(f->ext));
}

QString SavePictureDialog::withExtension(const QString &name, const QString &ext)
{
    const QString trimmed = name.trimmed();
    const QFileInfo info(trimmed);
    const PictureFormats::Format *named = PictureFormats::byExtension(info.suffix());
    const PictureFormats::Format *wanted = PictureFormats::byExtension(ext);
    if (named && named == wanted)
        return trimmed;
    const QString stem = named ? trimmed.left(trimmed.size() - info.suffix().size() - 1) : trimmed;
    return stem + '.' + ext.toLower();
}

QString SavePictureDialog::targetPath() const
{
    const QString folder = m_folders->currentIndex().isValid()
                               ? m_model->filePath(m_folders->currentIndex())
                               : m_folder;
    return QDir(folder).filePath(
        withExtension(m_newName->text(), m_type->currentData().toString()));
}

PictureFile::Options SavePictureDialog::options(const PictureProfiles &profiles) const
{
    PictureFile::Options o;
    o.ext = m_type->currentData().toString();
    const bool compressed = !m_compressed->isHidden();
    o.quality = compressed ? m_quality->value() : 90;
    o.compression = compressed ? m_compression->currentText() : QString();
    if (m_keepInfo->isChecked())
        o.profiles = profiles;
    return o;
}

void SavePictureDialog::accept()
{
    const QString name = QFileInfo(m_newName->text().trimmed()).completeBaseName();
    if (name.isEmpty() || m_newName->text().contains('/') || m_newName->text().contains('\\')) {
        Dialogs::instance().message(tr("Type a name for the new picture, without a folder."),
                                    PhotoMessages::Title, Dialogs::Icon::Warning);
        return;
    }
    const QString target = targetPath();
    if (QFileInfo::exists(target) &&
        !Dialogs::instance().question(tr("%1 already exists. Do you want to replace it?")
                                          .arg(QDir::toNativeSeparators(target)),
                                      PhotoMessages::Title)) {
        return;
    }
    QDialog::accept();
}
