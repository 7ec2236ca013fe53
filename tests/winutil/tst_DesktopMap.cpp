#include "CommandLine.h"
#include "DesktopMap.h"
#include "FakeDesktop.h"
#include "PanelCommands.h"
#include "TestEnvironment.h"

#include <QTest>

using Desktop = DesktopEnvironment::Desktop;
using Kind = DesktopMap::Command::Kind;

// The desktop map against desktops made of fake PATH folders and desktop names; nothing real is
// ever started.
class tst_DesktopMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPanelCommandHasARowForEveryDesktop()
    {
        const QStringList keys = PanelCommands::allKeys();
        QVERIFY(keys.size() >= 34);
        for (const QString &key : keys) {
            const auto row = DesktopMap::row(key);
            QVERIFY2(row, qPrintable("no map row for " + key));
            for (const Desktop desktop :
                 {Desktop::Gnome, Desktop::Kde, Desktop::Xfce, Desktop::Generic}) {
                const QString cell = row->cell(desktop);
                QVERIFY2(!cell.isEmpty(), qPrintable(key + " has no cell for " +
                                                     DesktopEnvironment::desktopName(desktop)));
                if (cell == "-" || cell == "=sysinfo")
                    continue;
                for (const QString &alternative : cell.split(" || ")) {
                    const auto words = CommandLine::split(alternative);
                    QVERIFY2(words && !words->isEmpty() && !words->first().contains('/'),
                             qPrintable(key + ": bad command " + alternative));
                }
            }
        }
    }

    void mapKeysAreUnique()
    {
        QStringList keys;
        for (const DesktopMap::Row &row : DesktopMap::rows())
            keys << row.key;
        const qsizetype all = keys.size();
        keys.removeDuplicates();
        QCOMPARE(keys.size(), all);
    }

    void samePageSameKey()
    {
        // The icon strip and tool bar reach the pages of the list through the same map rows.
        QCOMPARE(PanelCommands::iconStrip().at(14).key, PanelCommands::controlPanel().at(28).key);
        QCOMPARE(PanelCommands::toolKey("Mouse"), PanelCommands::controlPanel().at(14).key);
        QVERIFY(PanelCommands::toolKey("MyDoc").isEmpty());
    }

    void desktopOf_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<Desktop>("desktop");
        QTest::newRow("GNOME") << "GNOME" << Desktop::Gnome;
        QTest::newRow("ubuntu:GNOME") << "ubuntu:GNOME" << Desktop::Gnome;
        QTest::newRow("Unity") << "Unity" << Desktop::Gnome;
        QTest::newRow("KDE") << "KDE" << Desktop::Kde;
        QTest::newRow("lower case kde") << "kde" << Desktop::Kde;
        QTest::newRow("XFCE") << "XFCE" << Desktop::Xfce;
        QTest::newRow("first known wins") << "X-Custom:XFCE:GNOME" << Desktop::Xfce;
        QTest::newRow("LXQt") << "LXQt" << Desktop::Generic;
        QTest::newRow("Cinnamon") << "X-Cinnamon" << Desktop::Generic;
        QTest::newRow("none") << "" << Desktop::Generic;
        QTest::newRow("KDE inside a name") << "KDEx" << Desktop::Generic;
    }
    void desktopOf()
    {
        QFETCH(QString, names);
        QFETCH(Desktop, desktop);
        QCOMPARE(DesktopEnvironment::desktopOf(names.split(':', Qt::SkipEmptyParts)), desktop);
    }

    void environmentDefaults()
    {
        QProcessEnvironment env;
        env.insert("HOME", "/home/u");
        env.insert("PATH", "/usr/bin:relative:/bin");
        env.insert("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        const DesktopEnvironment d = DesktopEnvironment::fromEnvironment(env);
        QCOMPARE(d.desktopNames(), QStringList({"ubuntu", "GNOME"}));
        QCOMPARE(d.dataFolders(),
                 QStringList({"/home/u/.local/share", "/usr/local/share", "/usr/share"}));
        QCOMPARE(d.configFolders(), QStringList({"/home/u/.config", "/etc/xdg"}));

        env.insert("XDG_DATA_HOME", "/d/home/");
        env.insert("XDG_DATA_DIRS", "/d/a:not/absolute::/d/b");
        QCOMPARE(DesktopEnvironment::fromEnvironment(env).dataFolders(),
                 QStringList({"/d/home", "/d/a", "/d/b"}));
    }

    void findProgram()
    {
        FakeDesktop fake;
        const QString tool = fake.addProgram("tool");
        fake.addProgram("plain", false);
        const DesktopEnvironment env = fake.environment();
        QCOMPARE(env.findProgram("tool"), tool);
        QCOMPARE(env.findProgram(tool), tool);
        QVERIFY(env.findProgram("plain").isEmpty());
        QVERIFY(env.findProgram("missing").isEmpty());
        QVERIFY(env.findProgram("bin/tool").isEmpty()); // relative paths are never looked up
        QVERIFY(env.findProgram("").isEmpty());
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("command"); // program name, then arguments

        const QStringList none;
        QTest::newRow("GNOME background")
            << "GNOME" << QStringList{"gnome-control-center"} << "desk.cpl,,0" << Kind::Start
            << QStringList{"gnome-control-center", "background"};
        QTest::newRow("Ubuntu's GNOME")
            << "ubuntu:GNOME" << QStringList{"gnome-control-center"} << "main.cpl @0" << Kind::Start
            << QStringList{"gnome-control-center", "mouse"};
        QTest::newRow("Plasma 6") << "KDE" << QStringList{"systemsettings", "systemsettings5"}
                                  << "desk.cpl,,0" << Kind::Start
                                  << QStringList{"systemsettings", "kcm_wallpaper"};
        QTest::newRow("Plasma 5") << "KDE" << QStringList{"systemsettings5"} << "desk.cpl,,0"
                                  << Kind::Start << QStringList{"systemsettings5", "kcm_wallpaper"};
        QTest::newRow("XFCE") << "XFCE" << QStringList{"xfdesktop-settings"} << "desk.cpl,,0"
                              << Kind::Start << QStringList{"xfdesktop-settings"};
        QTest::newRow("GNOME without its settings falls back to generic")
            << "GNOME" << QStringList{"nitrogen"} << "desk.cpl,,0" << Kind::Start
            << QStringList{"nitrogen"};
        QTest::newRow("desktop's own page before generic")
            << "XFCE" << QStringList{"xfce4-mouse-settings", "lxinput"} << "main.cpl @0"
            << Kind::Start << QStringList{"xfce4-mouse-settings"};
        QTest::newRow("nothing installed")
            << "GNOME" << none << "desk.cpl,,0" << Kind::NotAvailable << none;
        QTest::newRow("other desktop ignores GNOME's program")
            << "LXQt" << QStringList{"gnome-control-center"} << "desk.cpl,,0" << Kind::NotAvailable
            << none;
        QTest::newRow("other desktop's settings manager")
            << "LXQt" << QStringList{"lxqt-config"} << "control.exe" << Kind::Start
            << QStringList{"lxqt-config"};
        QTest::newRow("no page anywhere") << "KDE" << QStringList{"systemsettings"}
                                          << "sysdm.cpl,,2" << Kind::NotAvailable << none;
        QTest::newRow("System Information")
            << "KDE" << none << "msinfo32" << Kind::SystemInformation << none;
        QTest::newRow("system properties fall back to our window")
            << "XFCE" << none << "sysdm.cpl,,0" << Kind::SystemInformation << none;
        QTest::newRow("GNOME cannot hide its bar")
            << "GNOME" << QStringList{"gnome-control-center", "qdbus", "xfconf-query"}
            << "taskbar-hide" << Kind::NotAvailable << none;
        QTest::newRow("Plasma 5 hides its panels")
            << "KDE" << QStringList{"qdbus"} << "taskbar-hide" << Kind::Start
            << QStringList{"qdbus", "org.kde.plasmashell", "/PlasmaShell",
                           "org.kde.PlasmaShell.evaluateScript",
                           "panels().forEach(function(p){p.hiding='autohide'})"};
        QTest::newRow("XFCE shows its panel")
            << "XFCE" << QStringList{"xfconf-query"} << "taskbar-show" << Kind::Start
            << QStringList{
                   "xfconf-query", "-c", "xfce4-panel", "-p", "/panels/panel-1/autohide-behavior",
                   "-n",           "-t", "int",         "-s", "0"};
        QTest::newRow("logind where no desktop prompts")
            << "" << QStringList{"systemctl"} << "shutdown" << Kind::Start
            << QStringList{"systemctl", "poweroff"};
        QTest::newRow("GNOME's own shut-down prompt")
            << "GNOME" << QStringList{"gnome-session-quit", "systemctl"} << "shutdown"
            << Kind::Start << QStringList{"gnome-session-quit", "--power-off"};
        QTest::newRow("unknown key") << "GNOME" << QStringList{"gnome-control-center"}
                                     << "nosuch.cpl" << Kind::NotAvailable << none;
    }
    void resolve()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, programs);
        QFETCH(QString, key);
        QFETCH(Kind, kind);
        QFETCH(QStringList, command);

        FakeDesktop fake(desktop);
        for (const QString &program : programs)
            fake.addProgram(program);
        const DesktopMap::Command found = DesktopMap::resolve(key, fake.environment());
        QCOMPARE(found.kind, kind);
        if (kind == Kind::Start) {
            QCOMPARE(found.program, fake.bin() + '/' + command.first());
            QCOMPARE(found.arguments, command.mid(1));
        }
    }

    void launchStartsThroughPlatform()
    {
        TestEnvironment env;
        FakeDesktop fake("KDE");
        const QString qdbus = fake.addProgram("qdbus");
        QCOMPARE(DesktopMap::launch("taskbar-show", fake.environment()), Kind::Start);
        QCOMPARE(env.platform().started.size(), 1);
        QCOMPARE(env.platform().started.first().first(), qdbus);
        QVERIFY(env.dialogs().shown().isEmpty());
    }

    void launchReportsWhatIsNotThere_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("no program") << false;
        QTest::newRow("start fails") << true;
    }
    void launchReportsWhatIsNotThere()
    {
        QFETCH(bool, installed);
        TestEnvironment env;
        env.platform().startSucceeds = false;
        FakeDesktop fake("GNOME");
        if (installed)
            fake.addProgram("gnome-control-center");
        QCOMPARE(DesktopMap::launch("timedate.cpl", fake.environment()), Kind::NotAvailable);
        QCOMPARE(env.platform().started.size(), installed ? 1 : 0);
        QCOMPARE(env.dialogs().shown().size(), 1);
        QCOMPARE(env.dialogs().shown().first().text,
                 QStringLiteral("The selected function is not available on this system"));
        QCOMPARE(env.dialogs().shown().first().title, QStringLiteral("Not available"));
    }

    void launchLeavesSystemInformationToTheCaller()
    {
        TestEnvironment env;
        FakeDesktop fake("XFCE");
        QCOMPARE(DesktopMap::launch("msinfo32", fake.environment()), Kind::SystemInformation);
        QVERIFY(env.platform().started.isEmpty());
        QVERIFY(env.dialogs().shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_DesktopMap)
#include "tst_DesktopMap.moc"
