// The Photo Editor's tool ids: what each tool of both tool bars and the panel buttons does.
#include "FormAllFunc.h"

#include "AppFolders.h"
#include "AppState.h"
#include "Dialogs.h"
#include "EffectTable.h"
#include "EffectsDialog.h"
#include "ImagingModule.h"
#include "JobRunner.h"
#include "PhotoMessages.h"
#include "PictureFormats.h"
#include "PictureJob.h"
#include "PictureView.h"
#include "SavePictureDialog.h"
#include "SharedRoutines.h"
#include "ToolStrip.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

namespace
{

// The commands that change the picture with fixed numbers, by tool id.
const QHash<QString, Effect> fixedCommands = {
    {"Crop", Effect::Crop},     {"Resize", Effect::Resize},    {"Flip", Effect::Flip},
    {"Mirror", Effect::Mirror}, {"Twist", Effect::Twist},      {"Tile", Effect::Tile},
    {"Matrix", Effect::Matrix}, {"Rotate90", Effect::Rotate90}};

// The tools that open the effects window headed by their name.
const QStringList effectsWindowTools = {"Rotate", "Negative",  "Solarize", "Blur",  "Emboss",
                                        "Ripple", "Parabolic", "Pinch",    "PSize", "Soften",
                                        "Swirl",  "Blend",     "Noise"};

QString pictureFolder()
{
    const QString folder = AppFolders::inUserFiles(QStringLiteral("Photos"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace

void FormAllFunc::runMainTool(const QString &id)
{
    if (runSharedTool(id))
        return;
    if (id == QLatin1String("Open"))
        openFromPicker();
    else if (id == QLatin1String("Save"))
        save();
    else if (id == QLatin1String("Saveas") || id == QLatin1String("I_Save"))
        openSaveWindow(false);
    else if (id == QLatin1String("SaveCompressdPictureas"))
        openSaveWindow(true);
    else if (id.startsWith(QLatin1String("Convert")) && PictureFormats::byExtension(id.mid(7)))
        openSaveWindow(false, id.mid(7));
    else if (id == QLatin1String("Reset"))
        reset();
    else if (id == QLatin1String("Exit"))
        closeWindow();
    else if (id == QLatin1String("Effects"))
        showPanel(true);
    else if (id == QLatin1String("ID_Draw") || id == QLatin1String("Id_Draw"))
        showPanel(false);
    else if (id == QLatin1String("Copy"))
        copy();
    else if (id == QLatin1String("Paste"))
        paste();
    else if (id == QLatin1String("Cut"))
        Dialogs::instance().message(PhotoMessages::Later, PhotoMessages::Title);
    else if (id == QLatin1String("Undo") || id == QLatin1String("Redo"))
        undo(id == QLatin1String("Undo"));
    else if (id == QLatin1String("Res"))
        resizeTo();
    else if (id == QLatin1String("ID_Stamper"))
        stampDate();
    else if (id == QLatin1String("Spin"))
        m_timer->start();
    else if (id == QLatin1String("Capture"))
        capture();
    else if (id == QLatin1String("Acquire"))
        Dialogs::instance().message(PhotoMessages::NoScanner, PhotoMessages::Title);
}

void FormAllFunc::runDrawTool(const QString &id)
{
    if (id == QLatin1String("Soften")) {
        runPictureCommand(id);
        return;
    }
    if (runSharedTool(id))
        return;
    if (id == QLatin1String("ID_Pencil"))
        chooseDrawTool(QStringLiteral("Pencil"));
    else if (id == QLatin1String("ID_Eraser"))
        chooseDrawTool(QStringLiteral("Eraser"));
    else if (id == QLatin1String("Line") || id == QLatin1String("Circle"))
        chooseDrawTool(id);
    else if (id == QLatin1String("ID_Text"))
        chooseDrawTool(QStringLiteral("Text"));
    else if (id == QLatin1String("ID_Pointer"))
        chooseDrawTool(QStringLiteral("Pointer"));
    else if (id == QLatin1String("ID_1") || id == QLatin1String("ID_2") ||
             id == QLatin1String("ID_Tool3"))
        m_pen.width = id == QLatin1String("ID_1") ? 1 : id == QLatin1String("ID_2") ? 3 : 5;
    else if (id == QLatin1String("ID_Colour"))
        chooseColour();
    else if (id == QLatin1String("ColorEffect") || id == QLatin1String("ColorChanger"))
        openColorEffect(id == QLatin1String("ColorEffect")
                            ? ColorEffectDialog::Choice::HueSaturation
                            : ColorEffectDialog::Choice::Blend);
}

// The tools both bars have: the effects window, the fixed commands and the rubber band.
bool FormAllFunc::runSharedTool(const QString &id)
{
    if (effectsWindowTools.contains(id)) {
        if (!m_document.isEmpty())
            openEffects(id);
        return true;
    }
    if (id == QLatin1String("RBand")) {
        // Rubber band on (true), at least 10 by 10 (RubberBandMinimum), kept shown (true).
        chooseDrawTool(QStringLiteral("Pointer"));
        return true;
    }
    return runPictureCommand(id);
}

bool FormAllFunc::runPictureCommand(const QString &id)
{
    Effect effect;
    if (id == QLatin1String("Soften"))
        effect = Effect::SoftenFixed;
    else if (const auto it = fixedCommands.constFind(id); it != fixedCommands.constEnd())
        effect = *it;
    else
        return false;
    if (m_document.isEmpty())
        report(PhotoMessages::ErrNoPicture);
    else
        applyEffect(EffectTable::request(effect, m_pen.color));
    return true;
}

bool FormAllFunc::applyEffect(const EffectRequest &request)
{
    const EffectTable::Entry &entry = EffectTable::entry(request.effect);
    const QImage picture = m_document.image();
    QImage result;
    QString error;
    PictureJob job(entry.name, [&](const ImagingEngine::Cancelled &cancelled) {
        EffectTable::apply(picture, request, &result, &error, cancelled);
    });
    JobRunner::run(job, centralWidget(), entry.name, m_status);
    if (result.isNull()) {
        if (!error.isEmpty() && !ImagingModule::engine() &&
            entry.engine == EffectTable::Engine::Magick)
            Dialogs::instance().message(error, PhotoMessages::Title, Dialogs::Icon::Warning);
        else if (!error.isEmpty())
            report(PhotoMessages::ErrFailed, error);
        return false;
    }
    tellDropped(m_document.change(result, entry.name));
    showPicture();
    return true;
}

void FormAllFunc::openEffects(const QString &heading)
{
    auto *dialog = new EffectsDialog(m_document.image(), heading, m_pen.color, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { applyEffect(dialog->request()); });
    dialog->open();
}

void FormAllFunc::openColorEffect(ColorEffectDialog::Choice choice)
{
    if (m_document.isEmpty())
        return;
    auto *dialog =
        new ColorEffectDialog(m_document.image(), m_document.path(), m_pen.color, choice, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { applyEffect(dialog->request()); });
    dialog->open();
}

void FormAllFunc::openSaveWindow(bool compressed, const QString &type)
{
    if (m_document.isEmpty()) {
        report(PhotoMessages::ErrNoPicture);
        m_closing = false;
        return;
    }
    QString oldFile = m_document.path();
    if (!type.isEmpty())
        oldFile = SavePictureDialog::withExtension(
            oldFile.isEmpty() ? pictureFolder() + QStringLiteral("/picture") : oldFile, type);
    auto *dialog = new SavePictureDialog(pictureFolder(), oldFile, compressed, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        const bool closing = m_closing;
        m_closing = false;
        if (result != QDialog::Accepted)
            return;
        const QString target = dialog->targetPath();
        if (!saveTo(target, dialog->options(m_document.profiles())))
            return;
        // The picture is shown as the file now holds it (a compressed picture's true look).
        openPicture(target);
        m_saved = true;
        if (closing) {
            m_closing = true;
            closeWindow();
        }
    });
    dialog->open();
}

bool FormAllFunc::saveTo(const QString &path, const PictureFile::Options &options)
{
    const QImage picture = m_document.image();
    bool written = false;
    QString error;
    PictureJob job(tr("Saving %1").arg(QFileInfo(path).fileName()),
                   [&](const ImagingEngine::Cancelled &) {
                       written = PictureFile::write(picture, path, options, &error);
                   });
    JobRunner::run(job, centralWidget(), tr("Saving picture"), m_status);
    if (!written) {
        report(PhotoMessages::ErrFailed, error);
        return false;
    }
    PlaySoundCue(SoundCue::Save);
    statusBar()->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 8000);
    return true;
}

void FormAllFunc::save()
{
    if (m_document.isEmpty()) {
        report(PhotoMessages::ErrNoPicture);
        return;
    }
    // A capture or a paste has no file yet, and a WPG file cannot be written: choose another.
    const PictureFormats::Format *format = PictureFormats::ofPath(m_document.path());
    if (m_document.path().isEmpty() || !format || !format->canWrite) {
        openSaveWindow(false);
        return;
    }
    if (!Dialogs::instance().question(PhotoMessages::Overwrite, PhotoMessages::OverwriteTitle,
                                      Dialogs::Icon::Question))
        return;
    saveTo(m_document.path(), {format->ext, 90, QString(), m_document.profiles()});
}

void FormAllFunc::reset()
{
    if (m_document.path().isEmpty())
        return;
    if (openPicture(m_document.path()))
        setSliders(50, 50, 50);
}

void FormAllFunc::openFromPicker()
{
    const QString path = Dialogs::instance().openFileName(tr("Open Picture"), pictureFolder(),
                                                          PictureFormats::openFilter());
    if (!path.isEmpty())
        openPicture(path);
}

void FormAllFunc::copy()
{
    if (m_document.isEmpty()) {
        report(PhotoMessages::ErrSelectFirst);
        return;
    }
    const QRect selection = m_view->selection();
    QGuiApplication::clipboard()->setImage(
        selection.isEmpty() ? m_document.image() : m_document.image().copy(selection));
}

void FormAllFunc::paste()
{
    const QImage pasted = QGuiApplication::clipboard()->image();
    if (pasted.isNull()) {
        report(PhotoMessages::ErrSelectFirst);
        return;
    }
    if (m_document.isEmpty()) {
        m_document.setUntitled(pasted);
        m_saved = false;
        m_fileName->clear();
        setPictureToolsEnabled(true);
    } else {
        QImage picture = m_document.image();
        const QRect selection = m_view->selection();
        PicturePainter::paste(picture, pasted,
                              selection.isEmpty() ? QPoint() : selection.topLeft());
        tellDropped(m_document.change(picture, tr("Paste")));
    }
    showPicture();
}

void FormAllFunc::capture()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage shot = screen ? screen->grabWindow(0).toImage() : QImage();
    if (shot.isNull()) {
        Dialogs::instance().message(PhotoMessages::NoCapture, PhotoMessages::Title,
                                    Dialogs::Icon::Warning);
        return;
    }
    m_document.setUntitled(shot);
    m_saved = false;
    m_fileName->setText(tr("Screen capture"));
    setPictureToolsEnabled(true);
    showPicture();
}

void FormAllFunc::resizeTo()
{
    if (m_document.isEmpty())
        return;
    const QSize now = m_document.image().size();
    bool ok = false;
    const QString text = Dialogs::instance().inputText(
        tr("New size in pixels (width x height), or a percent of the present size:"),
        tr("Resize Picture"), QStringLiteral("%1 x %2").arg(now.width()).arg(now.height()), &ok);
    if (!ok)
        return;
    const auto size = PhotoRules::parseSize(text, now);
    if (!size) {
        Dialogs::instance().message(PhotoMessages::BadSize, PhotoMessages::Title,
                                    Dialogs::Icon::Warning);
        return;
    }
    applyEffect({Effect::ResizeTo, {size->width(), size->height()}, {}});
}

void FormAllFunc::stampDate()
{
    if (m_document.isEmpty())
        return;
    const QString date = MainDateText(QDate::currentDate(), AppState::instance().national);
    QFont font = m_textFont;
    font.setPixelSize(std::max(10, m_document.image().height() / 24));
    const QFontMetrics metrics(font);
    const QSize size = metrics.size(0, date);
    const QPoint at(m_document.image().width() - size.width() - size.height() / 2,
                    m_document.image().height() - size.height() - size.height() / 4);
    tellDropped(m_document.beginEdit(tr("Date Stamp")));
    m_view->pictureChanged(PicturePainter::text(m_document.pixels(), at, date, font, m_pen.color));
}

void FormAllFunc::spinTick()
{
    m_timer->stop();
    m_spinAngle += SpinStep;
    if (m_spinAngle < 360) {
        m_view->setSpinAngle(m_spinAngle);
        m_timer->start();
    } else {
        m_spinAngle = 0;
        m_view->setSpinAngle(0);
    }
}

void FormAllFunc::undo(bool back)
{
    int dropped = 0;
    if (back ? m_document.undo(&dropped) : m_document.redo(&dropped)) {
        showPicture();
        tellDropped(dropped);
    }
}

void FormAllFunc::sliderMoved(PhotoRules::Slider slider, int value)
{
    const int index = int(slider);
    const Effect step = PhotoRules::sliderStep(slider, m_previous[index], value);
    m_previous[index] = value;
    if (!m_document.isEmpty())
        applyEffect(EffectTable::request(step));
}

void FormAllFunc::showPanel(bool effects)
{
    m_effects->setVisible(effects);
    m_draw->setVisible(!effects);
    m_main->tool(QStringLiteral("Effects"))->setChecked(effects);
    m_main->tool(QStringLiteral("ID_Draw"))->setChecked(!effects);
}
