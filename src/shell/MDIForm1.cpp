#include "MDIForm1.h"

#include "AppState.h"
#include "Platform.h"
#include "SharedRoutines.h"
#include "StartUp.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolKeys.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QVBoxLayout>

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
    const SetupRow::Values start = LoadStartUp(*m_store);
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
    // Only the keys of this program's own windows open anything; one whose tool is not part of
    // this build opens a placeholder.
    if (!ToolKeys::isOwnKey(key))
        return;
    if (const ToolRegistry::Tool tool = ToolRegistry::findByKey(key))
        openTool(tool->name);
    else
        openPlaceholder(key);
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

QWidget *MDIForm1::openTool(const QString &name, const ToolRequest &request)
{
    const ToolRegistry::Tool tool = ToolRegistry::find(name);
    if (!tool)
        return nullptr;
    QWidget *window = activateOpen(name);
    if (!window) {
        // The tool's own window may set a caption of its own while it is made.
        setToolCaption(tool->caption);
        window = addToolWindow(name, tool->create());
    }
    if (tool->handOver)
        tool->handOver(window, request);
    return window;
}

QWidget *MDIForm1::openPlaceholder(const QString &key)
{
    if (QWidget *open = activateOpen(key))
        return open;
    auto *window = new QWidget;
    auto *layout = new QVBoxLayout(window);
    auto *label = new QLabel(
        tr("%1 is not available in this build yet.").arg(ToolKeys::caption(key)), window);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    window->setWindowTitle(ToolKeys::caption(key));
    window->resize(480, 320);
    setToolCaption(ToolKeys::caption(key));
    return addToolWindow(key, window);
}

QWidget *MDIForm1::activateOpen(const QString &name)
{
    m_centre->setCurrentWidget(m_mdi);
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->widget() && sub->widget()->property("nuvelaTool").toString() == name) {
            sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
            return sub->widget();
        }
    }
    return nullptr;
}

QWidget *MDIForm1::addToolWindow(const QString &name, QWidget *window)
{
    window->setProperty("nuvelaTool", name);
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
