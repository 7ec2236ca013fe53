#pragma once

#include "ToolHost.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QListWidget;
class QMdiArea;
class QMenuBar;
class QStackedWidget;
class QTextBrowser;
class QToolBox;
class QTreeWidget;
class Store;

// The main window: a multiple-document frame titled "Nuvela Utilities" that opens the tool
// window named by the pending tool key on its first activation, and offers the menu strip
// `MenuL` and the list bar `lBarMain`.
class MDIForm1 : public QMainWindow, public ToolHost
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget *parent = nullptr);
    ~MDIForm1() override;

    // Dispatches the pending tool key once; later activations find it empty.
    void MDIForm_Activate();
    // Runs a menu command by its tool identifier; false for identifiers of other programs.
    bool runTool(const QString &id);
    // A list bar item was clicked.
    void listBarClicked(const QString &code);

    QWidget *openTool(const QString &name, const ToolRequest &request = {}) override;
    void setToolCaption(const QString &caption) override;
    void showNavigation() override;

    QMdiArea *mdiArea() const { return m_mdi; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void MDIForm_Load();
    void buildMenu();
    void buildNavigation();
    void buildToolLists();
    void showPane(QWidget *pane);
    QTextBrowser *webPane();
    void startSibling(const QString &exeName);
    void statusNote(const QString &text);
    // The open window of a tool (or placeholder) by name, activated; null when none is open.
    QWidget *activateOpen(const QString &name);
    QWidget *addToolWindow(const QString &name, QWidget *window);
    QWidget *openPlaceholder(const QString &key);

    std::unique_ptr<Store> m_store;
    QMdiArea *m_mdi = nullptr;
    QStackedWidget *m_centre = nullptr;
    QTextBrowser *m_web = nullptr; // wBro
    QTreeWidget *m_tree = nullptr; // trwL
    QListWidget *m_list = nullptr; // lstL
    QToolBox *m_listBar = nullptr; // lBarMain
    QWidget *m_navigation = nullptr;
    QLabel *m_date = nullptr; // lblDate
    QLabel *m_toolCaption = nullptr;
    bool m_activated = false;
};
