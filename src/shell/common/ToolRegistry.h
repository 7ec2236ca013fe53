#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// What one window asks of another when it opens it: a file to work on, and whether it was opened
// by another tool window (the "Outer" tag) rather than from the main window's navigation.
struct ToolRequest {
    QString file;
    bool outer = false;
};

// A tool window as the main window offers it. Tool libraries describe their windows with a
// ToolRegistration at namespace scope; the program links them whole, so the shell opens windows
// it has never heard of.
struct ToolDescription {
    struct Command {
        QString id;   // tool identifier of the main menu ("ID_File")
        QString text; // menu text with its mnemonic ("&File Organizer")
    };

    QString name;            // unique ("filemanager"); also the window's "nuvelaTool" property
    QString caption;         // "File Organizer": list bar, lists, the frame's current-tool label
    QString icon;            // freedesktop icon name
    QStringList keys;        // nv_setup tool keys that open it on start-up
    QList<Command> commands; // main-menu commands that open it; the first also goes on the tool bar
    int section = 0;         // menu section: tools of one section stand together, sections apart
    int order = 0;           // place within its section
    std::function<QWidget *()> create;
    // Hands a request to a window of this tool (new or already open); optional.
    std::function<void(QWidget *, const ToolRequest &)> handOver;
};

class ToolRegistry
{
public:
    using Tool = std::shared_ptr<const ToolDescription>;

    // Adds a tool; one of the same name is replaced (tests register fakes).
    static void add(ToolDescription tool);
    static void remove(const QString &name);

    static Tool find(const QString &name);
    static Tool findByKey(const QString &key);
    static Tool findByCommand(const QString &id);
    // Every tool, by section and order within it.
    static QList<Tool> all();
};

// Registers a tool when the program starts: `static const ToolRegistration tool{{...}};`.
struct ToolRegistration {
    explicit ToolRegistration(ToolDescription tool) { ToolRegistry::add(std::move(tool)); }
};
