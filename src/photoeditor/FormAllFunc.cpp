#include "FormAllFunc.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DrawStyle.h"
#include "HelpButton.h"
#include "ImagingModule.h"
#include "JobRunner.h"
#include "PhotoMessages.h"
#include "PictureJob.h"
#include "PictureView.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

// The effects panel's buttons: the one under the pointer and the others.
const QString hovered = QStringLiteral("background-color: #FFC080;");
const QString resting = QStringLiteral("background-color: #FFE0C0;");

} // namespace

FormAllFunc::FormAllFunc(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormAllFunc"));
    setWindowTitle(QStringLiteral("Photo Editor"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("applications-graphics")));

    buildDrawTools();
    buildMainTools();
    addToolBar(m_main);
    addToolBarBreak();
    addToolBar(m_draw);

    m_view = new PictureView;
    m_view->setPicture(&m_document.image());
    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("picArea"));
    m_area->setWidget(m_view);
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_area->viewport()->installEventFilter(this); // a fitted picture follows the area's size
    m_text = new QLineEdit(m_view);
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setFrame(false);
    m_text->hide();
    connect(m_view, &PictureView::pressed, this, &FormAllFunc::viewPressed);
    connect(m_view, &PictureView::moved, this, &FormAllFunc::viewMoved);
    connect(m_view, &PictureView::released, this, &FormAllFunc::viewReleased);
    connect(m_text, &QLineEdit::textEdited, this, &FormAllFunc::textTyped);
    connect(m_text, &QLineEdit::editingFinished, this, &FormAllFunc::finishText);

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_area, 1);
    m_effects = buildEffectsPanel();
    layout->addWidget(m_effects);
    setCentralWidget(central);
    buildStatusBar();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(40);
    connect(m_timer, &QTimer::timeout, this, &FormAllFunc::spinTick);

    setSliders(50, 50, 1);
    m_zoom->setValue(0);
    setPictureToolsEnabled(!m_document.path().isEmpty());
    showPanel(true);
    chooseDrawTool(m_drawTool);
    setBrushColor(Qt::black);
    resize(1000, 680);
    m_pictureArea = m_area->viewport()->size();
    m_date->setText(MainDateText(QDate::currentDate(), AppState::instance().national));
}

FormAllFunc::~FormAllFunc()
{
    // Children that outlive this part of the window must not call back into it: the text box
    // reports losing focus, the viewport and buttons report events to the filter.
    m_text->disconnect(this);
    m_view->disconnect(this);
    m_area->viewport()->removeEventFilter(this);
    for (QPushButton *b : std::as_const(m_hoverButtons))
        b->removeEventFilter(this);
}

QMenu *FormAllFunc::popup(const QString &name)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(name);
    return menu;
}

QAction *FormAllFunc::menuTool(ToolStrip *strip, QMenu *menu, const QString &id,
                               const QString &text, const QString &icon)
{
    // A tool of the strip (found and dispatched by its id) that is shown only in a menu.
    QAction *action = strip->addTool(id, text, icon);
    strip->removeAction(action);
    menu->addAction(action);
    return action;
}

QAction *FormAllFunc::dropDown(ToolStrip *strip, const QString &id, const QString &text,
                               const QString &icon, QMenu *menu, bool split)
{
    QAction *action = strip->addTool(id, text, icon);
    action->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(strip->widgetForAction(action)))
        button->setPopupMode(split ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
    return action;
}

void FormAllFunc::buildMainTools()
{
    m_main = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    ToolStrip *s = m_main;
    s->addTool(QStringLiteral("Open"), tr("Open"), QStringLiteral("document-open"));

    QMenu *saving = popup(QStringLiteral("ID_Save"));
    menuTool(s, saving, QStringLiteral("Saveas"), tr("Save &As..."),
             QStringLiteral("document-save-as"));
    menuTool(s, saving, QStringLiteral("SaveCompressdPictureas"),
             tr("Save as &Compressed Picture..."));
    dropDown(s, QStringLiteral("Save"), tr("Save"), QStringLiteral("document-save"), saving, true);
    s->addTool(QStringLiteral("I_Save"), tr("Save As"), QStringLiteral("document-save-as"));
    s->addTool(QStringLiteral("Reset"), tr("Reset"), QStringLiteral("document-revert"));
    s->addSeparator();

    dropDown(s, QStringLiteral("Edit2"), tr("Edit"), QStringLiteral("edit-copy"), buildEditMenu(),
             false);
    dropDown(s, QStringLiteral("Medium"), tr("Transform"), QStringLiteral("object-rotate-right"),
             buildTransformMenu(), false);

    QMenu *special = popup(QStringLiteral("SEffect1"));
    for (const char *id : {"Negative", "Solarize", "Blur", "Emboss", "Ripple", "Parabolic", "Pinch",
                           "PSize", "Soften", "Swirl", "Blend", "Noise"})
        menuTool(s, special, QString::fromLatin1(id), tr(id));
    dropDown(s, QStringLiteral("SEffect"), tr("Special"), QStringLiteral("applications-graphics"),
             special, false);

    QMenu *convert = popup(QStringLiteral("Convert"));
    for (const char *type : {"JPG", "BMP", "TIF", "TGA", "PCX", "PNG", "PPM", "PGM", "PBM", "DCX"})
        menuTool(s, convert, QStringLiteral("Convert") + type, tr("To %1...").arg(type));
    dropDown(s, QStringLiteral("ID_Convert"), tr("Convert"), QStringLiteral("document-save-as"),
             convert, false);
    s->addSeparator();

    QMenu *editor = popup(QStringLiteral("EditM"));
    menuTool(s, editor, QStringLiteral("Id_Draw"), tr("&Drawing Tools"));
    menuTool(s, editor, QStringLiteral("Capture"), tr("&Capture Screen"),
             QStringLiteral("camera-photo"));
    menuTool(s, editor, QStringLiteral("Acquire"), tr("&Acquire from Scanner"),
             QStringLiteral("scanner"));
    dropDown(s, QStringLiteral("Editor"), tr("Editor"), QStringLiteral("preferences-desktop"),
             editor, false);
    s->addTool(QStringLiteral("Effects"), tr("Adjust"),
               QStringLiteral("preferences-desktop-display"))
        ->setCheckable(true);
    s->addTool(QStringLiteral("ID_Draw"), tr("Draw"), QStringLiteral("accessories-text-editor"))
        ->setCheckable(true);
    // The drawing tool bar's pop-up menu, on both bars.
    dropDown(s, QStringLiteral("Draw"), tr("Tools"), QStringLiteral("applications-accessories"),
             m_drawMenu, false);
    s->addSeparator();
    s->addTool(QStringLiteral("Exit"), tr("Exit"), QStringLiteral("application-exit"));
    connect(m_main, &ToolStrip::toolClicked, this, &FormAllFunc::runMainTool);
}

QMenu *FormAllFunc::buildEditMenu()
{
    ToolStrip *s = m_main;
    QMenu *edit = popup(QStringLiteral("Edit1"));
    menuTool(s, edit, QStringLiteral("Undo"), tr("&Undo"), QStringLiteral("edit-undo"))
        ->setShortcut(QKeySequence::Undo);
    menuTool(s, edit, QStringLiteral("Redo"), tr("&Redo"), QStringLiteral("edit-redo"))
        ->setShortcut(QKeySequence::Redo);
    edit->addSeparator();
    menuTool(s, edit, QStringLiteral("Cut"), tr("Cu&t"), QStringLiteral("edit-cut"));
    menuTool(s, edit, QStringLiteral("Copy"), tr("&Copy"), QStringLiteral("edit-copy"));
    menuTool(s, edit, QStringLiteral("Paste"), tr("&Paste"), QStringLiteral("edit-paste"));
    edit->addSeparator();
    menuTool(s, edit, QStringLiteral("Crop"), tr("C&rop"));
    menuTool(s, edit, QStringLiteral("Resize"), tr("Re&size"));
    menuTool(s, edit, QStringLiteral("Res"), tr("Resize &To..."));
    menuTool(s, edit, QStringLiteral("ID_Stamper"), tr("&Date Stamp"));
    for (QAction *a : edit->actions())
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addActions(edit->actions());
    return edit;
}

QMenu *FormAllFunc::buildTransformMenu()
{
    ToolStrip *s = m_main;
    QMenu *medium = popup(QStringLiteral("Medium1"));
    menuTool(s, medium, QStringLiteral("Rotate"), tr("&Rotate..."),
             QStringLiteral("object-rotate-right"));
    menuTool(s, medium, QStringLiteral("Flip"), tr("&Flip"),
             QStringLiteral("object-flip-vertical"));
    menuTool(s, medium, QStringLiteral("Mirror"), tr("&Mirror"),
             QStringLiteral("object-flip-horizontal"));
    menuTool(s, medium, QStringLiteral("Twist"), tr("&Twist"));
    menuTool(s, medium, QStringLiteral("Tile"), tr("T&ile"));
    menuTool(s, medium, QStringLiteral("Matrix"), tr("M&atrix"));
    menuTool(s, medium, QStringLiteral("RBand"), tr("Rubber &Band Selection"),
             QStringLiteral("edit-select-all"));
    menuTool(s, medium, QStringLiteral("Spin"), tr("S&pin"));
    return medium;
}

void FormAllFunc::buildDrawTools()
{
    m_draw = new ToolStrip(QStringLiteral("SSActiveToolBars2"), this);
    // Icons only: the bar holds many tools; tools without an icon show their text.
    m_draw->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolStrip *s = m_draw;
    m_drawMenu = popup(QStringLiteral("Draw1"));
    m_drawTools = new QActionGroup(this);
    const struct {
        const char *id, *text, *icon;
    } tools[] = {{"ID_Pencil", "Pencil", "accessories-text-editor"},
                 {"ID_Eraser", "Eraser", "edit-delete"},
                 {"Line", "Line", ""},
                 {"Circle", "Circle", ""},
                 {"ID_Text", "Text", "insert-text"},
                 {"ID_Pointer", "Pointer", "edit-select-all"}};
    for (const auto &t : tools) {
        QAction *a = s->addTool(QString::fromLatin1(t.id), tr(t.text), QString::fromLatin1(t.icon));
        a->setCheckable(true);
        m_drawTools->addAction(a);
        m_drawMenu->addAction(a);
    }
    s->addSeparator();
    m_widths = new QActionGroup(this);
    for (const auto &[id, text] :
         {std::pair{"ID_1", "1 px"}, {"ID_2", "3 px"}, {"ID_Tool3", "5 px"}}) {
        QAction *a = s->addTool(QString::fromLatin1(id), tr(text));
        a->setCheckable(true);
        m_widths->addAction(a);
    }
    m_widths->actions().first()->setChecked(true);
    s->addSeparator();
    s->addTool(QStringLiteral("ID_Colour"), tr("Colour"),
               QStringLiteral("preferences-desktop-theme"));
    m_brushColor = new QLabel(s);
    m_brushColor->setObjectName(QStringLiteral("lblBrushColor"));
    m_brushColor->setFixedSize(22, 22);
    m_brushColor->setFrameShape(QFrame::Box);
    m_brushColor->setAutoFillBackground(true);
    s->addWidget(m_brushColor);
    m_drawMode = new QComboBox(s);
    m_drawMode->setObjectName(QStringLiteral("ID_DrawMode"));
    // Pen styles first, then draw modes.
    for (const DrawStyle::Entry &e : DrawStyle::entries()) {
        if (e.kind == DrawStyle::Kind::DrawMode &&
            m_drawMode->findText(QStringLiteral("Blackness")) < 0)
            m_drawMode->insertSeparator(m_drawMode->count());
        m_drawMode->addItem(e.text);
    }
    m_drawMode->setCurrentText(QStringLiteral("Solid"));
    m_drawMode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_drawMode->setMinimumContentsLength(10);
    m_drawMode->setToolTip(tr("Pen style and draw mode"));
    s->addWidget(m_drawMode);
    connect(m_drawMode, &QComboBox::activated, this, &FormAllFunc::chooseDrawMode);
    s->addSeparator();
    s->addTool(QStringLiteral("Rotate"), tr("Rotate"), QStringLiteral("object-rotate-right"));
    s->addTool(QStringLiteral("Mirror"), tr("Mirror"), QStringLiteral("object-flip-horizontal"));
    s->addTool(QStringLiteral("ColorEffect"), tr("Colour Effects"),
               QStringLiteral("preferences-desktop-wallpaper"));
    QMenu *more = popup(QStringLiteral("DrawEffects1"));
    for (const char *id :
         {"ColorChanger", "Negative", "Solarize", "Blur", "Blend", "Noise", "Emboss", "Ripple",
          "Parabolic", "Pinch", "PSize", "Twist", "Tile", "Soften", "RBand"})
        menuTool(s, more, QString::fromLatin1(id), tr(id));
    dropDown(s, QStringLiteral("DrawEffects"), tr("Effects"),
             QStringLiteral("applications-graphics"), more, false);
    dropDown(s, QStringLiteral("Draw"), tr("Draw"), QString(), m_drawMenu, false);
    connect(m_draw, &ToolStrip::toolClicked, this, &FormAllFunc::runDrawTool);
}

QSlider *FormAllFunc::adjustSlider(const QString &name, PhotoRules::Slider slider)
{
    auto *s = new QSlider(Qt::Horizontal);
    s->setObjectName(name);
    s->setRange(0, 100);
    s->setPageStep(10);
    // A drag is one change when released: every change is one step, whatever its size.
    s->setTracking(false);
    m_sliders[int(slider)] = s;
    connect(s, &QSlider::valueChanged, this,
            [this, slider](int value) { sliderMoved(slider, value); });
    return s;
}

QPushButton *FormAllFunc::panelButton(const QString &name, const QString &text, const QString &icon)
{
    auto *button = new QPushButton(icon.isEmpty() ? QIcon() : ThemeIcon::get(icon), text);
    button->setObjectName(name);
    return button;
}

QFrame *FormAllFunc::buildEffectsPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("fraEffects"));
    panel->setFixedWidth(210);
    auto *adjust = new QGroupBox(tr("Adjust"), panel);
    auto *grid = new QGridLayout(adjust);
    grid->addWidget(new QLabel(tr("Brightness")), 0, 0);
    grid->addWidget(adjustSlider(QStringLiteral("HSBright"), PhotoRules::Slider::Bright), 1, 0);
    grid->addWidget(new QLabel(tr("Contrast")), 2, 0);
    grid->addWidget(adjustSlider(QStringLiteral("HSContrast"), PhotoRules::Slider::Contrast), 3, 0);
    grid->addWidget(new QLabel(tr("Sharpness")), 4, 0);
    grid->addWidget(adjustSlider(QStringLiteral("HSSharpen"), PhotoRules::Slider::Sharpen), 5, 0);

    auto *turn = new QGroupBox(tr("Turn"), panel);
    auto *turns = new QVBoxLayout(turn);
    QPushButton *flip =
        panelButton(QStringLiteral("ssfl"), tr("Flip"), QStringLiteral("object-flip-vertical"));
    QPushButton *mirror =
        panelButton(QStringLiteral("ssmi"), tr("Mirror"), QStringLiteral("object-flip-horizontal"));
    QPushButton *rotate = panelButton(QStringLiteral("ssrotate"), tr("Rotate 90\u00B0"),
                                      QStringLiteral("object-rotate-right"));
    m_hoverButtons = {flip, mirror, rotate};
    for (QPushButton *b : std::as_const(m_hoverButtons)) {
        b->setStyleSheet(resting);
        b->installEventFilter(this);
        turns->addWidget(b);
    }
    QPushButton *blur = panelButton(QStringLiteral("ssbl"), QStringLiteral("Blur"), QString());
    QPushButton *close =
        panelButton(QStringLiteral("ssclose"), tr("Close"), QStringLiteral("window-close"));
    connect(flip, &QPushButton::clicked, this,
            [this] { runPictureCommand(QStringLiteral("Flip")); });
    connect(mirror, &QPushButton::clicked, this,
            [this] { runPictureCommand(QStringLiteral("Mirror")); });
    connect(rotate, &QPushButton::clicked, this,
            [this] { runPictureCommand(QStringLiteral("Rotate90")); });
    connect(blur, &QPushButton::clicked, this, [this, blur] {
        if (!m_document.isEmpty())
            openEffects(blur->text());
    });
    connect(close, &QPushButton::clicked, this, &FormAllFunc::closeWindow);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(adjust);
    layout->addWidget(turn);
    layout->addWidget(blur);
    layout->addStretch();
    layout->addWidget(close);
    return panel;
}

void FormAllFunc::buildStatusBar()
{
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setMinimumWidth(260);
    m_fileName = new QLabel(this);
    m_fileName->setObjectName(QStringLiteral("lblFileName"));
    m_zoom = new QSlider(Qt::Horizontal, this);
    m_zoom->setObjectName(QStringLiteral("HSZoom"));
    m_zoom->setRange(PhotoRules::ZoomMinimum, PhotoRules::ZoomMaximum);
    m_zoom->setPageStep(1);
    m_zoom->setFixedWidth(150);
    m_zoom->setToolTip(tr("Zoom: the middle fits the picture to the window"));
    m_zoomLabel = new QLabel(tr("Fit"), this);
    m_zoomLabel->setObjectName(QStringLiteral("lblZoom"));
    m_zoomLabel->setMinimumWidth(36);
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("lblDate"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_fileName);
    statusBar()->addPermanentWidget(new QLabel(tr("Zoom %"), this));
    statusBar()->addPermanentWidget(m_zoom);
    statusBar()->addPermanentWidget(m_zoomLabel);
    statusBar()->addPermanentWidget(m_date);
    statusBar()->addPermanentWidget(new HelpButton(QStringLiteral("UTL0015"), this));
    connect(m_zoom, &QSlider::valueChanged, this, &FormAllFunc::applyZoom);
}

void FormAllFunc::setPictureToolsEnabled(bool enabled)
{
    for (const char *id : {"Editor", "I_Save", "ID_Stamper", "Res", "Effects", "ID_Draw", "Reset"})
        m_main->tool(QString::fromLatin1(id))->setEnabled(enabled);
}

bool FormAllFunc::openPicture(const QString &path)
{
    PictureFile::Loaded loaded;
    PictureJob job(tr("Opening %1").arg(QFileInfo(path).fileName()),
                   [&](const ImagingEngine::Cancelled &) { loaded = PictureFile::read(path); });
    JobRunner::run(job, centralWidget(), tr("Opening picture"), m_status);
    using Failure = PictureFile::Failure;
    switch (loaded.failure) {
    case Failure::None:
        break;
    case Failure::NotPicture:
        report(PhotoMessages::ErrNotPicture, loaded.detail);
        return false;
    case Failure::Unreadable:
        report(PhotoMessages::ErrFailed, loaded.detail);
        return false;
    case Failure::TooLarge:
        Dialogs::instance().message(
            PhotoMessages::TooLarge.arg(loaded.detail).arg(PictureFile::MaxPixels / 1'000'000),
            PhotoMessages::Title, Dialogs::Icon::Warning);
        return false;
    case Failure::NeedsModule:
        Dialogs::instance().message(loaded.detail, PhotoMessages::Title, Dialogs::Icon::Warning);
        return false;
    }
    m_document.adopt(path, loaded);
    m_saved = false;
    showPicture();
    m_fileName->setText(QFileInfo(path).fileName());
    m_fileName->setToolTip(QDir::toNativeSeparators(path));
    setPictureToolsEnabled(true);
    if (loaded.damaged)
        Dialogs::instance().message(PhotoMessages::Damaged, PhotoMessages::Title,
                                    Dialogs::Icon::Warning);
    return true;
}

void FormAllFunc::showPicture()
{
    finishText();
    m_view->pictureReplaced();
    applyZoom();
}

void FormAllFunc::applyZoom()
{
    const PhotoRules::Zoom zoom = PhotoRules::zoomOf(m_zoom->value());
    if (!zoom.label.isNull())
        m_zoomLabel->setText(zoom.label);
    m_view->setZoom(zoom.fit ? PhotoRules::fitFactor(m_document.image().size(),
                                                     m_area->viewport()->size() - QSize(4, 4))
                             : zoom.factor);
    // Back to the area's origin after every change.
    m_area->horizontalScrollBar()->setValue(0);
    m_area->verticalScrollBar()->setValue(0);
}

void FormAllFunc::setSliders(int bright, int contrast, int sharpen)
{
    const int values[3] = {bright, contrast, sharpen};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker blocker(m_sliders[i]);
        m_sliders[i]->setValue(values[i]);
        m_previous[i] = values[i];
    }
}

void FormAllFunc::report(int errorNumber, const QString &detail)
{
    const QString text = PhotoMessages::forError(errorNumber);
    if (!detail.isEmpty())
        statusBar()->showMessage(detail, 15000);
    if (!text.isEmpty())
        Dialogs::instance().message(text, PhotoMessages::Title, Dialogs::Icon::Warning);
}

void FormAllFunc::tellDropped(int dropped)
{
    if (dropped > 0)
        statusBar()->showMessage(
            tr("The %n oldest undo step(s) were dropped to stay within the undo memory.", "",
               dropped),
            10000);
}

void FormAllFunc::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void FormAllFunc::closeEvent(QCloseEvent *event)
{
    if (!m_closing && !m_saved) {
        if (Dialogs::instance().question(PhotoMessages::SaveChanges, PhotoMessages::Title,
                                         Dialogs::Icon::Question) &&
            !m_document.isEmpty()) {
            // The save window decides; the window closes once it has saved.
            event->ignore();
            m_closing = true;
            openSaveWindow(false);
            return;
        }
    }
    m_timer->stop();
    event->accept();
    if (ToolHost *host = ToolHost::instance())
        host->showNavigation();
}

bool FormAllFunc::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport() && event->type() == QEvent::Resize && m_zoom &&
        m_zoom->value() == 0 && !m_document.isEmpty())
        applyZoom();
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        for (QPushButton *b : std::as_const(m_hoverButtons)) {
            const bool over = event->type() == QEvent::Enter && b == watched;
            b->setStyleSheet(over ? hovered : resting);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
