#include "MDIForm1.h"

#include "AppState.h"
#include "Platform.h"
#include "SharedRoutines.h"
#include "StartUp.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolWindows.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>

MDIForm1::MDIForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Nuvela Utilities"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("applications-utilities")));
    resize(1200, 800);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_centre = new QStackedWidget(this);
    m_centre->addWidget(m_mdi);
    setCentralWidget(m_centre);

    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("lblDate"));
    m_toolCaption = new QLabel(this);
    m_toolCaption->setObjectName(QStringLiteral("lblTool"));
    statusBar()->addPermanentWidget(m_toolCaption);
    statusBar()->addPermanentWidget(m_date);

    buildMenu();
    buildNavigation();
    ToolHost::install(this);
    MDIForm_Load();
}

MDIForm1::~MDIForm1()
{
    if (ToolHost::instance() == this)
        ToolHost::install(nullptr);
}

void MDIForm1::MDIForm_Load()
{
    m_store = std::make_unique<Store>(Store::Kind::Data);
    const StartUpResult start = LoadStartUp(*m_store);
    // A business installation hides the suite's product page, nothing else.
    if (start.business) {
        if (QAction *details = findChild<QAction *>(QStringLiteral("NuvelaSuiteProductDetails")))
            details->setVisible(false);
    }
    m_date->setText(MainDateText(QDate::currentDate(), AppState::instance().national));
}

void MDIForm1::MDIForm_Activate()
{
    AppState &app = AppState::instance();
    const QString key = app.pendingToolKey;
    app.pendingToolKey.clear();
    if (const std::optional<Tool> tool = ToolKeys::toolOfKey(key))
        showTool(*tool);
}

void MDIForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        MDIForm_Activate();
}

void MDIForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Platforms without a window manager never activate the window: the first show counts.
    if (!m_activated) {
        m_activated = true;
        MDIForm_Activate();
    }
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Platform::instance().exitProcess();
}

QWidget *MDIForm1::showTool(Tool tool)
{
    m_centre->setCurrentWidget(m_mdi);
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->widget() && sub->widget()->property("nuvelaTool").toInt() == int(tool)) {
            sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
            return sub->widget();
        }
    }
    // The tool's own window may set a caption of its own while it is made.
    setToolCaption(ToolKeys::caption(tool));
    QWidget *window = CreateToolWindow(tool);
    QMdiSubWindow *sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(window->windowIcon());
    const QSize wanted = window->size().expandedTo(window->sizeHint());
    sub->resize(wanted.boundedTo(m_mdi->viewport()->size()).expandedTo(QSize(320, 200)));
    sub->show();
    return window;
}

void MDIForm1::setToolCaption(const QString &caption)
{
    m_toolCaption->setText(caption);
}

void MDIForm1::showNavigation()
{
    m_navigation->show();
}

void MDIForm1::statusNote(const QString &text)
{
    statusBar()->showMessage(text, 8000);
}
