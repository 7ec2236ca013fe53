#include "ColorEffectDialog.h"
#include "EffectsDialog.h"
#include "FormAllFunc.h"
#include "HelpButton.h"
#include "ImagingModule.h"
#include "PictureView.h"
#include "PreviewPane.h"
#include "SavePictureDialog.h"
#include "SharedRoutines.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "ToolHost.h"
#include "ToolRegistry.h"
#include "ToolStrip.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace
{

// Stands in for the main window: counts how often the navigation is shown again.
class NavigationHost final : public ToolHost
{
public:
    NavigationHost() { ToolHost::install(this); }
    ~NavigationHost() override { ToolHost::install(nullptr); }
    QWidget *openTool(const QString &, const ToolRequest &) override { return nullptr; }
    void setToolCaption(const QString &) override {}
    void showNavigation() override { ++navigationShown; }
    int navigationShown = 0;
};

} // namespace

// The Photo Editor driven as a user drives it: tools by id, controls by name, the picture and
// the files on disk checked after.
class tst_FormAllFunc : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<NavigationHost> m_host;
    std::unique_ptr<FormAllFunc> m_form;
    QString m_photo;

    template <typename T> T *child(const QString &name) const
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }
    bool tool(const QString &id) const
    {
        return child<ToolStrip>("SSActiveToolBars1")->trigger(id);
    }
    bool drawTool(const QString &id) const
    {
        return child<ToolStrip>("SSActiveToolBars2")->trigger(id);
    }
    QAction *action(const QString &strip, const QString &id) const
    {
        return child<ToolStrip>(strip)->tool(id);
    }
    const QImage &picture() const { return m_form->document().image(); }
    ScriptedDialogs &dialogs() { return m_env->dialogs(); }
    QStringList messages() const { return m_env->dialogs().messages(); }

    void open()
    {
        QVERIFY(m_form->openPicture(m_photo));
        child<QSlider>("HSZoom")->setValue(1); // 100 %: view pixels are picture pixels
    }
    // A press, moves and a release on the view, as a drag with the left button does.
    void drag(const QList<QPoint> &points)
    {
        PictureView *view = m_form->view();
        auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(view, &event);
        };
        send(QEvent::MouseButtonPress, points.first(), Qt::LeftButton);
        for (const QPoint &p : points.mid(1))
            send(QEvent::MouseMove, p, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, points.last(), Qt::NoButton);
    }
    // The open one: closed windows are deleted only later.
    template <typename Dialog> Dialog *shown() const
    {
        const QList<Dialog *> all = m_form->findChildren<Dialog *>();
        for (Dialog *d : all) {
            if (d->isVisible())
                return d;
        }
        return nullptr;
    }
    template <typename Dialog> Dialog *waitForPreview()
    {
        auto *dialog = shown<Dialog>();
        if (dialog && !dialog->preview()->isBusy() && !dialog->preview()->shown().isNull())
            return dialog;
        QSignalSpy shown(dialog->preview(), &PreviewPane::previewShown);
        shown.wait(10000);
        return dialog;
    }
    static void click(QWidget *dialog, const QString &button)
    {
        dialog->findChild<QPushButton *>(button)->click();
    }

private Q_SLOTS:
    void initTestCase() { UseBuiltImagingModule(); }
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_host = std::make_unique<NavigationHost>();
        m_photo = m_env->scratch() + QStringLiteral("/holiday photo.png");
        QVERIFY(TestPicture(200, 150).save(m_photo));
        m_form = std::make_unique<FormAllFunc>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup()
    {
        m_form.reset();
        m_host.reset();
        UseBuiltImagingModule();
        m_env.reset();
    }

    void opensReady()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Photo Editor"));
        QCOMPARE(child<QSlider>("HSBright")->value(), 50);
        QCOMPARE(child<QSlider>("HSContrast")->value(), 50);
        QCOMPARE(child<QSlider>("HSSharpen")->value(), 1);
        QCOMPARE(child<QSlider>("HSZoom")->value(), 0);
        for (const char *id :
             {"Editor", "I_Save", "ID_Stamper", "Res", "Effects", "ID_Draw", "Reset"})
            QVERIFY2(!action("SSActiveToolBars1", id)->isEnabled(), id);
        QCOMPARE(child<QLabel>("lblDate")->text(), MainDateText(QDate::currentDate(), false));
        QCOMPARE(child<HelpButton>("CmdHelp")->code(), QStringLiteral("UTL0015"));
        QVERIFY(child<QTimer>("Timer1"));
        QCOMPARE(m_form->drawTool(), QStringLiteral("Pointer"));
        QVERIFY(!m_form->isSaved());
    }

    void everyToolExists()
    {
        for (const char *id : {"Open",      "Save",    "Saveas",     "SaveCompressdPictureas",
                               "Reset",     "Exit",    "Effects",    "Id_Draw",
                               "ID_Draw",   "Copy",    "Paste",      "Cut",
                               "Crop",      "Resize",  "Flip",       "Mirror",
                               "Rotate",    "Twist",   "Tile",       "Matrix",
                               "RBand",     "Capture", "Acquire",    "Negative",
                               "Solarize",  "Blur",    "Emboss",     "Ripple",
                               "Parabolic", "Pinch",   "PSize",      "Soften",
                               "Swirl",     "Blend",   "Noise",      "ID_Convert",
                               "Edit2",     "Medium",  "SEffect",    "Draw",
                               "Editor",    "I_Save",  "ID_Stamper", "Res"})
            QVERIFY2(action("SSActiveToolBars1", id), id);
        for (const char *id :
             {"ID_Pencil", "ID_Eraser", "Line",        "Circle",       "ID_Text", "ID_Pointer",
              "ID_1",      "ID_2",      "ID_Tool3",    "ID_Colour",    "Rotate",  "Mirror",
              "Negative",  "Solarize",  "Blur",        "Blend",        "Noise",   "Emboss",
              "Ripple",    "Parabolic", "Pinch",       "PSize",        "Twist",   "Tile",
              "RBand",     "Soften",    "ColorEffect", "ColorChanger", "Draw"})
            QVERIFY2(action("SSActiveToolBars2", id), id);
        for (const char *menu :
             {"Convert", "ID_Save", "Edit1", "Medium1", "SEffect1", "Draw1", "EditM"})
            QVERIFY2(child<QMenu>(menu), menu);
        QCOMPARE(action("SSActiveToolBars1", "Save")->menu(), child<QMenu>("ID_Save"));
        QCOMPARE(action("SSActiveToolBars2", "Draw")->menu(), child<QMenu>("Draw1"));
        for (const char *name :
             {"Xpress1", "fraEffects", "ssfl", "ssmi", "ssrotate", "ssbl", "ssclose", "lblZoom",
              "lblStatus", "lblBrushColor", "ID_DrawMode", "txtText"})
            QVERIFY2(m_form->findChild<QWidget *>(name), name);
    }

    void handOverOpensThePicture()
    {
        const ToolRegistry::Tool editor = ToolRegistry::find(QStringLiteral("photoeditor"));
        QVERIFY(editor);
        QVERIFY(editor->keys.isEmpty());
        editor->handOver(m_form.get(), ToolRequest{m_photo, true});
        QCOMPARE(picture().size(), QSize(200, 150));
        QCOMPARE(m_form->document().path(), m_photo);
        QCOMPARE(child<QLabel>("lblFileName")->text(), QStringLiteral("holiday photo.png"));
        QVERIFY(action("SSActiveToolBars1", "Reset")->isEnabled());
        QVERIFY(!m_form->isSaved());
    }

    void openTool()
    {
        dialogs().answerPath(m_photo);
        QVERIFY(tool("Open"));
        QCOMPARE(picture().size(), QSize(200, 150));
        QCOMPARE(dialogs().shown().first().kind, QStringLiteral("open"));
        dialogs().cancelNext(); // a cancelled picker changes nothing
        tool("Open");
        QCOMPARE(m_form->document().path(), m_photo);
    }

    void badPictures_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a picture") << QByteArray("hello") << "This is not a valid picture.";
        QTest::newRow("20000 x 20000") << BombPng(20000, 20000) << "too large to open";
    }
    void badPictures()
    {
        QFETCH(QByteArray, content);
        open();
        const QString bad = m_env->writeFile("bad.png", content);
        QVERIFY(!m_form->openPicture(bad));
        QFETCH(QString, message);
        QVERIFY2(messages().value(0).contains(message), qPrintable(messages().value(0)));
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Nuvela Photos"));
        QCOMPARE(m_form->document().path(), m_photo); // the picture shown stays
    }

    void truncatedJpegOpensWithAWarning()
    {
        QVERIFY(TestPicture(300, 200).save(m_env->scratch() + "/whole.jpg"));
        const QByteArray whole = ReadBytes(m_env->scratch() + "/whole.jpg");
        const QString cut = m_env->writeFile("cut.jpg", whole.left(whole.size() / 2));
        QVERIFY(m_form->openPicture(cut));
        QCOMPARE(picture().size(), QSize(300, 200));
        QVERIFY(messages().value(0).contains("incomplete"));
    }

    void onePixelPicture()
    {
        const QString tiny = m_env->scratch() + "/tiny.bmp";
        QVERIFY(TestPicture(1, 1).save(tiny));
        QVERIFY(m_form->openPicture(tiny));
        for (const char *id : {"Flip", "Mirror", "Crop", "Resize", "Twist", "Matrix"})
            tool(id);
        QCOMPARE(picture().size(), QSize(1, 1));
        child<QSlider>("HSZoom")->setValue(-3);
        QCOMPARE(m_form->view()->size(), QSize(1, 1));
        QVERIFY(messages().isEmpty());
    }

    void brightnessStepsOncePerChange()
    {
        open();
        const double before = Mean(picture(), 1);
        QSlider *bright = child<QSlider>("HSBright");
        bright->setValue(51);
        const double once = Mean(picture(), 1);
        bright->setValue(80); // 29 further: still one step
        QVERIFY(once > before + 10);
        QVERIFY(Mean(picture(), 1) > once + 10);
        QCOMPARE(m_form->document().history().undoCount(), 2);
        bright->setValue(10);
        QVERIFY(Mean(picture(), 1) < once + 10);
        child<QSlider>("HSSharpen")->setValue(0);
        QCOMPARE(m_form->document().history().undoText(), QStringLiteral("Soften"));
    }

    void zoomTable_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QSize>("view");
        QTest::newRow("-3") << -3 << "25" << QSize(50, 38);
        QTest::newRow("-1") << -1 << "75" << QSize(150, 113);
        QTest::newRow("1") << 1 << "100" << QSize(200, 150);
        QTest::newRow("3") << 3 << "300" << QSize(600, 450);
    }
    void zoomTable()
    {
        open();
        QFETCH(int, value);
        child<QSlider>("HSZoom")->setValue(value);
        QTEST(child<QLabel>("lblZoom")->text(), "label");
        QTEST(m_form->view()->size(), "view");
        // Back to fitting: the label keeps what it showed.
        child<QSlider>("HSZoom")->setValue(0);
        QTEST(child<QLabel>("lblZoom")->text(), "label");
    }

    void saveAsksFirst()
    {
        open();
        tool("Flip");
        const QByteArray before = ReadBytes(m_photo);
        dialogs().answerQuestion(false);
        tool("Save");
        QCOMPARE(ReadBytes(m_photo), before);
        QCOMPARE(dialogs().shown().last().text,
                 QStringLiteral("This will overwrite existing picture press OK to continue"));
        QCOMPARE(dialogs().shown().last().title, QStringLiteral("Nuvela Picture"));
        dialogs().answerQuestion(true);
        tool("Save");
        QVERIFY(ReadBytes(m_photo) != before);
        QCOMPARE(QImage(m_photo).pixel(0, 0), TestPicture(200, 150).pixel(0, 149));
        QCOMPARE(m_env->platform().sounds, QStringList{SoundCuePath(SoundCue::Save)});
        QVERIFY(!m_form->isSaved());
        // Only the save window sets the saved flag: closing still asks.
        dialogs().answerQuestion(false);
        QVERIFY(m_form->close());
        QCOMPARE(dialogs().shown().last().text,
                 QStringLiteral("You did not save the changes. Do you wish to save it now?"));
        QCOMPARE(dialogs().shown().last().title, QStringLiteral("Nuvela Photos"));
        QCOMPARE(m_host->navigationShown, 1);
    }

    void savingAPictureOfAReadOnlyTypeAsksForAnother()
    {
        // A file named as a type the editor cannot write goes to the save window, never over
        // the old file.
        const QString drawing = m_env->scratch() + "/drawing.wpg";
        QVERIFY(QFile::copy(m_photo, drawing)); // a PNG by content: it opens
        QVERIFY(m_form->openPicture(drawing));
        tool("Save");
        auto *save = shown<SavePictureDialog>();
        QVERIFY(save);
        QCOMPARE(save->findChild<QComboBox *>("CboTo")->currentData().toString(),
                 QStringLiteral("JPG"));
        click(save, "cmdCancel");
        QCOMPARE(ReadBytes(drawing), ReadBytes(m_photo));
    }

    void closingWithoutAPictureAsksToo()
    {
        dialogs().answerQuestion(true); // nothing to save: the window closes
        QVERIFY(m_form->close());
        QCOMPARE(dialogs().shown().size(), 1);
    }

    void saveWindow()
    {
        open();
        tool("Saveas");
        auto *save = shown<SavePictureDialog>();
        QVERIFY(save);
        QCOMPARE(save->findChild<QLineEdit *>("OldFname")->text(), m_photo);
        QComboBox *type = save->findChild<QComboBox *>("CboTo");
        QCOMPARE(type->currentData().toString(), QStringLiteral("PNG"));
        QVERIFY(save->findChild<QGroupBox *>("FrmCompressed")->isHidden());
        QLineEdit *name = save->findChild<QLineEdit *>("NewFname");
        QCOMPARE(name->text(), QStringLiteral("holiday photo copy.png"));
        type->setCurrentIndex(type->findData("TIF"));
        QCOMPARE(name->text(), QStringLiteral("holiday photo copy.tif"));
        // WPG is listed but cannot be chosen.
        const int wpg = type->findData("WPG");
        QVERIFY(wpg >= 0);
        QVERIFY(!(type->model()->flags(type->model()->index(wpg, 0)) & Qt::ItemIsEnabled));
        click(save, "cmdSave");
        const QString written = m_env->userFiles() + "/Photos/holiday photo copy.tif";
        QVERIFY(QFileInfo::exists(written));
        QCOMPARE(m_form->document().path(), written); // reloaded from the new file
        QVERIFY(m_form->isSaved());
        QCOMPARE(m_env->platform().sounds.size(), 1);
        QVERIFY(m_form->close()); // saved: no question
    }

    void compressedSaveWindow()
    {
        open();
        tool("SaveCompressdPictureas");
        auto *save = shown<SavePictureDialog>();
        QCOMPARE(save->windowTitle(), QStringLiteral("Save as Compressed Picture"));
        QCOMPARE(save->findChild<QLabel *>("Label4")->text(),
                 QStringLiteral("Save as Compressed Picture"));
        QVERIFY(!save->findChild<QGroupBox *>("FrmCompressed")->isHidden());
        QComboBox *type = save->findChild<QComboBox *>("CboTo");
        type->setCurrentIndex(type->findData("JPG"));
        save->findChild<QSlider *>("sldQuality")->setValue(10);
        save->findChild<QLineEdit *>("NewFname")->setText("small");
        click(save, "cmdSave");
        const QString small = m_env->userFiles() + "/Photos/small.jpg";
        QVERIFY(QFileInfo::exists(small));
        QVERIFY(QFileInfo(small).size() < 6000); // quality 10
    }

    void saveToReadOnlyFile()
    {
        open();
        tool("Saveas");
        auto *save = shown<SavePictureDialog>();
        const QString target = m_env->userFiles() + "/Photos/locked.png";
        QVERIFY(WriteBytes(target, "old"));
        QFile::setPermissions(target, QFileDevice::ReadOwner);
        save->findChild<QLineEdit *>("NewFname")->setText("locked.png");
        dialogs().answerQuestion(true); // replace it
        click(save, "cmdSave");
        QCOMPARE(
            messages(),
            QStringList{"Sorry! The requested action could not be performed due to some error."});
        QVERIFY(m_form->statusBar()->currentMessage().contains("read-only"));
        QCOMPARE(ReadBytes(target), QByteArray("old"));
        QVERIFY(!m_form->isSaved());
    }

    void closingWithSaveOpensTheSaveWindow()
    {
        open();
        dialogs().answerQuestion(true);
        QVERIFY(!m_form->close());
        auto *save = shown<SavePictureDialog>();
        QVERIFY(save);
        click(save, "cmdSave");
        QVERIFY(QFileInfo::exists(m_env->userFiles() + "/Photos/holiday photo copy.png"));
        QVERIFY(!m_form->isVisible());
    }

    void effectsWindow()
    {
        open();
        const QImage before = picture();
        QVERIFY(tool("Swirl"));
        auto *effects = waitForPreview<EffectsDialog>();
        QCOMPARE(effects->findChild<QLabel *>("lblEffects")->text(), QStringLiteral("Swirl"));
        QVERIFY(!effects->preview()->shown().isNull());
        QVERIFY(effects->preview()->shown() != effects->preview()->shown().copy().mirrored());
        effects->findChild<QSlider *>("sldStrength")->setValue(90);
        click(effects, "cmdApply");
        QCOMPARE(picture().size(), before.size());
        QVERIFY(picture() != before);
        tool("Undo");
        QCOMPARE(picture(), before);
        tool("Redo");
        QVERIFY(picture() != before);
    }

    void rotateOpensTheEffectsWindow()
    {
        open();
        drawTool("Rotate");
        auto *effects = waitForPreview<EffectsDialog>();
        QCOMPARE(effects->findChild<QLabel *>("lblEffects")->text(), QStringLiteral("Rotate"));
        click(effects, "cmdApply");
        QCOMPARE(picture().size(), QSize(150, 200));
        // ssbl: the effects window headed by the button's caption.
        child<QPushButton>("ssbl")->click();
        effects = waitForPreview<EffectsDialog>();
        QCOMPARE(effects->findChild<QLabel *>("lblEffects")->text(),
                 child<QPushButton>("ssbl")->text());
        click(effects, "cmdCancel");
        QCOMPARE(picture().size(), QSize(150, 200));
    }

    void fixedCommands_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Crop") << "Crop" << QSize(150, 83);
        QTest::newRow("Resize") << "Resize" << QSize(60, 60);
        QTest::newRow("Tile") << "Tile" << QSize(640, 480);
        QTest::newRow("Twist") << "Twist" << QSize(200, 150);
        QTest::newRow("Matrix") << "Matrix" << QSize(200, 150);
        QTest::newRow("Flip") << "Flip" << QSize(200, 150);
    }
    void fixedCommands()
    {
        open();
        const QImage before = picture();
        QFETCH(QString, id);
        QVERIFY(tool(id));
        QTEST(picture().size(), "size");
        QVERIFY(picture() != before);
        QCOMPARE(m_form->document().history().undoText(), id);
    }

    void panelButtons()
    {
        open();
        const QImage before = picture();
        child<QPushButton>("ssfl")->click();
        QCOMPARE(picture().pixel(0, 0), before.pixel(0, 149));
        child<QPushButton>("ssmi")->click();
        QCOMPARE(picture().pixel(0, 0), before.pixel(199, 149));
        child<QPushButton>("ssrotate")->click();
        QCOMPARE(picture().size(), QSize(150, 200));
        // The button under the pointer is orange, the others pale.
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(child<QPushButton>("ssmi"), &enter);
        QVERIFY(child<QPushButton>("ssmi")->styleSheet().contains("#FFC080"));
        QVERIFY(child<QPushButton>("ssfl")->styleSheet().contains("#FFE0C0"));
        QVERIFY(child<QPushButton>("ssrotate")->styleSheet().contains("#FFE0C0"));
    }

    void withoutAPicture()
    {
        tool("Crop");
        tool("Copy");
        tool("Cut");
        tool("Swirl"); // opens nothing
        QCOMPARE(messages(),
                 (QStringList{"This is not a valid picture.", "Select to Cut/Copy/Paste.",
                              "This Function to be made later"}));
        QVERIFY(!shown<EffectsDialog>());
        drawTool("ID_Pencil");
        drawTool("ID_Text");
        QCOMPARE(
            messages().last(),
            QStringLiteral("To draw text, first open any photo and then select this option. "));
        QCOMPARE(m_form->drawTool(), QStringLiteral("Pencil"));
        QVERIFY(action("SSActiveToolBars2", "ID_Pencil")->isChecked());
    }

    void copyAndPasteTheSelection()
    {
        open();
        drag({{20, 20}, {40, 30}, {60, 50}});
        QCOMPARE(m_form->view()->selection(), QRect(QPoint(20, 20), QPoint(60, 50)));
        tool("Copy");
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(41, 31));
        drag({{100, 100}, {104, 104}}); // smaller than 10 x 10: no selection
        QVERIFY(m_form->view()->selection().isEmpty());
        tool("Paste");
        QCOMPARE(picture().pixel(0, 0), TestPicture(200, 150).pixel(20, 20));
        QCOMPARE(m_form->document().history().undoCount(), 1);
    }

    void pencilDrawsInTheBrushColour()
    {
        open();
        drawTool("ID_Pencil");
        drawTool("ID_Tool3");
        QVERIFY(!action("SSActiveToolBars2", "ID_1")->isChecked());
        QCOMPARE(m_form->pen().width, 5);
        dialogs().answerColor(QColor(255, 0, 255));
        drawTool("ID_Colour");
        QCOMPARE(child<QLabel>("lblBrushColor")->palette().color(QPalette::Window),
                 QColor(255, 0, 255));
        const QImage before = picture();
        drag({{10, 100}, {50, 100}, {90, 100}});
        QCOMPARE(picture().pixel(70, 100), qRgb(255, 0, 255));
        QCOMPARE(picture().pixel(70, 110), before.pixel(70, 110));
        tool("Undo");
        QCOMPARE(picture(), before);
    }

    void cursorsFromTheProgramFolder()
    {
        open();
        drawTool("ID_Pencil");
        QCOMPARE(m_form->view()->cursor().shape(), Qt::CrossCursor); // no resource: a cross
        const QString misc = m_env->programFolder() + "/UserFiles/Misc";
        QVERIFY(QDir().mkpath(misc));
        for (const char *file : {"pencil.cur", "ERASE02.ICO"})
            QVERIFY(QFile::copy(QStringLiteral(NUVELA_SOURCE_DIR "/data/UserFiles/Misc/") + file,
                                misc + '/' + file));
        drawTool("ID_Eraser");
        QCOMPARE(m_form->view()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(m_form->view()->cursor().pixmap().size(), QSize(32, 32));
        drawTool("ID_Pencil");
        QCOMPARE(m_form->view()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(m_form->view()->cursor().hotSpot(), QPoint(0, 31)); // the pencil's tip
    }

    void drawingOnAFittedPicture()
    {
        const QString big = m_env->scratch() + "/big.png";
        QVERIFY(TestPicture(3000, 2000).save(big));
        QVERIFY(m_form->openPicture(big));
        const double zoom = m_form->view()->zoom();
        QVERIFY(zoom < 0.5); // fitted into the window
        drawTool("ID_Pencil");
        drawTool("ID_Tool3");
        drag({{100, 100}, {150, 100}, {200, 100}});
        // View pixels map to picture pixels through the zoom.
        const QPoint middle(int(150 / zoom), int(100 / zoom));
        QCOMPARE(picture().pixel(middle), qRgb(0, 0, 0));
        QMouseEvent move(QEvent::MouseMove, QPointF(150, 100), QPointF(150, 100), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(m_form->view(), &move);
        QVERIFY(child<QLabel>("lblStatus")
                    ->text()
                    .startsWith(QStringLiteral("XY: %1, %2").arg(middle.x()).arg(middle.y())));
    }

    void xorLineDrawnTwiceRestores()
    {
        open();
        QComboBox *mode = child<QComboBox>("ID_DrawMode");
        mode->setCurrentIndex(mode->findText("XorPen"));
        emit mode->activated(mode->currentIndex());
        QCOMPARE(m_form->pen().mode, 7);
        drawTool("Line");
        dialogs().answerColor(QColor(200, 100, 50)); // black would change nothing
        drawTool("ID_Colour");
        const QImage before = picture();
        drag({{10, 10}, {150, 120}});
        QVERIFY(picture() != before);
        drag({{10, 10}, {150, 120}});
        QCOMPARE(picture(), before);
        mode->setCurrentIndex(mode->findText("Dash"));
        emit mode->activated(mode->currentIndex());
        QCOMPARE(m_form->pen().style, 2);
        QCOMPARE(m_form->pen().mode, 7); // a style leaves the mode
    }

    void circleAndEraser()
    {
        open();
        drawTool("Circle");
        drag({{50, 50}, {150, 100}});
        QCOMPARE(picture().pixel(100, 50), qRgb(0, 0, 0)); // top of the ellipse, black pen
        drawTool("ID_Eraser");
        drag({{10, 140}, {60, 140}});
        QCOMPARE(picture().pixel(30, 140), qRgb(255, 255, 255));
        QCOMPARE(m_form->document().history().undoCount(), 2);
    }

    void textIsDrawnAsTyped()
    {
        open();
        drawTool("ID_Text");
        QCOMPARE(m_form->drawTool(), QStringLiteral("Text"));
        QFont font;
        font.setPixelSize(30);
        dialogs().answerFont(font);
        const QImage before = picture();
        drag({{20, 60}});
        QLineEdit *box = child<QLineEdit>("txtText");
        QVERIFY(box->isVisible());
        QTest::keyClicks(box, "Hi");
        const QImage two = picture();
        QVERIFY(two != before);
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(picture() != two && picture() != before);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(picture(), before); // redrawn from where the text began
    }

    void statusShowsPositionAndColour()
    {
        open();
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), QPointF(5, 6), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(m_form->view(), &move);
        const QRgb c = picture().pixel(5, 6);
        QCOMPARE(
            child<QLabel>("lblStatus")->text(),
            QStringLiteral("XY: 5, 6  RGB: %1, %2, %3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)));
    }

    void spinTurnsOnceAndLeavesThePicture()
    {
        open();
        const QImage before = picture();
        tool("Spin");
        QTimer *timer = child<QTimer>("Timer1");
        QVERIFY(timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 10000);
        QCOMPARE(m_form->view()->spinAngle(), 0);
        QCOMPARE(picture(), before);
        QVERIFY(!m_form->document().history().canUndo());
    }

    void panelsSwitch()
    {
        open();
        tool("ID_Draw");
        QVERIFY(child<QFrame>("fraEffects")->isHidden());
        QVERIFY(!child<ToolStrip>("SSActiveToolBars2")->isHidden());
        QVERIFY(action("SSActiveToolBars1", "ID_Draw")->isChecked());
        QVERIFY(!action("SSActiveToolBars1", "Effects")->isChecked());
        tool("Effects");
        QVERIFY(!child<QFrame>("fraEffects")->isHidden());
        QVERIFY(child<ToolStrip>("SSActiveToolBars2")->isHidden());
        tool("Id_Draw");
        QVERIFY(child<QFrame>("fraEffects")->isHidden());
    }

    void resetReloads()
    {
        open();
        const QImage original = picture();
        child<QSlider>("HSContrast")->setValue(90);
        QVERIFY(picture() != original);
        tool("Reset");
        QCOMPARE(picture(), original);
        for (const char *s : {"HSBright", "HSContrast", "HSSharpen"})
            QCOMPARE(child<QSlider>(s)->value(), 50);
        QVERIFY(!m_form->document().history().canUndo()); // no step for setting the sliders
    }

    void resizeToAGivenSize()
    {
        open();
        dialogs().answerInput("50%");
        tool("Res");
        QCOMPARE(picture().size(), QSize(100, 75));
        dialogs().answerInput("huge");
        tool("Res");
        QVERIFY(messages().last().startsWith("Give the new size"));
        QCOMPARE(picture().size(), QSize(100, 75));
    }

    void colourEffect()
    {
        open();
        drawTool("ColorEffect");
        auto *colour = waitForPreview<ColorEffectDialog>();
        QCOMPARE(colour->windowTitle(), QStringLiteral("Colour Effects - holiday photo.png"));
        QComboBox *choice = colour->findChild<QComboBox *>("cboColorEffect");
        choice->setCurrentIndex(choice->findText("Grayscale"));
        click(colour, "cmdApply");
        const QRgb p = picture().pixel(150, 20);
        QCOMPARE(qRed(p), qGreen(p));
    }

    void captureAndAcquire()
    {
        tool("Capture");
        QVERIFY(!picture().isNull());
        QCOMPARE(picture().size(), QGuiApplication::primaryScreen()->size() *
                                       QGuiApplication::primaryScreen()->devicePixelRatio());
        QVERIFY(m_form->document().path().isEmpty());
        tool("Acquire");
        QVERIFY(messages().last().contains("no scanner"));
    }

    void stampAndConvert()
    {
        open();
        const QImage before = picture();
        tool("ID_Stamper");
        QVERIFY(MaxDifference(picture().copy(100, 120, 100, 30), before.copy(100, 120, 100, 30)) >
                0);
        QCOMPARE(picture().copy(0, 0, 50, 50), before.copy(0, 0, 50, 50));
        tool("ConvertBMP");
        auto *save = shown<SavePictureDialog>();
        QCOMPARE(save->findChild<QComboBox *>("CboTo")->currentData().toString(),
                 QStringLiteral("BMP"));
        click(save, "cmdCancel");
    }

    void withoutTheImagingModule()
    {
        open();
        ImagingModule::setPath(QStringLiteral("/nonexistent/nuvela-imaging"));
        tool("Twist");
        QVERIFY(messages().value(0).contains("nuvela-imaging"));
        tool("Flip"); // Qt's commands still work
        QCOMPARE(m_form->document().history().undoText(), QStringLiteral("Flip"));
    }
};

QTEST_MAIN(tst_FormAllFunc)
#include "tst_FormAllFunc.moc"
