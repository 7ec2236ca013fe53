#include "CommandLine.h"
#include "DesktopMap.h"
#include "FakeDesktop.h"
#include "PanelCommands.h"
#include "TestEnvironment.h"

#include <QTest>

using Kind = DesktopMap::Command::Kind;

const QString NotAvailable = "The selected function is not available on this system";

// The desktop map against desktops made of fake PATH folders and desktop names; nothing real is
// ever started.
class tst_DesktopMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPanelCommandHasARowForEveryDesktop()
    {
        // A second row of the same key would never be reached.
        QStringList mapKeys;
        for (const DesktopMap::Row &row : DesktopMap::rows())
            mapKeys << row.key;
        QCOMPARE(QSet<QString>(mapKeys.begin(), mapKeys.end()).size(), mapKeys.size());
        const QStringList keys = PanelCommands::allKeys();
        QVERIFY(keys.size() >= 34);
        for (const QString &key : keys) {
            const auto row = DesktopMap::row(key);
            QVERIFY2(row, qPrintable("no map row for " + key));
            for (const QString &cell : row->cells) { // GNOME, KDE, XFCE, any other
                QVERIFY2(!cell.isEmpty(), qPrintable(key + " has an empty cell"));
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

    void environment()
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

        // Programs on the PATH: not executable, missing, relative and empty names find nothing.
        FakeDesktop fake;
        const QString tool = fake.addProgram("tool");
        fake.write(fake.bin() + "/plain", "#!/bin/sh\n"); // not executable
        QCOMPARE(fake.environment().findProgram("tool"), tool);
        QCOMPARE(fake.environment().findProgram(tool), tool);
        for (const char *name : {"plain", "missing", "bin/tool", ""})
            QVERIFY2(fake.environment().findProgram(name).isEmpty(), name);
    }

    // Desktop names as XDG_CURRENT_DESKTOP gives them, the programs on the PATH, the page.
    void resolve_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("command"); // program name, then arguments

        const QStringList none;
        const QStringList plasma{"systemsettings", "kcm_wallpaper"};
        const QStringList gcc{"gnome-control-center"};
        const QString desk = "desk.cpl,,0";
        QTest::newRow("Plasma 6 before Plasma 5")
            << "KDE" << QStringList{"systemsettings", "systemsettings5"} << desk << Kind::Start
            << plasma;
        QTest::newRow("desktop names in any case")
            << "kde" << plasma.mid(0, 1) << desk << Kind::Start << plasma;
        QTest::newRow("the first known name wins")
            << "X-Custom:XFCE:GNOME" << QStringList{"xfdesktop-settings", "gnome-control-center"}
            << desk << Kind::Start << QStringList{"xfdesktop-settings"};
        QTest::newRow("a name that only starts like one")
            << "KDEx" << plasma.mid(0, 1) << desk << Kind::NotAvailable << none;
        QTest::newRow("GNOME without its settings falls back to generic")
            << "GNOME" << QStringList{"nitrogen"} << desk << Kind::Start << QStringList{"nitrogen"};
        QTest::newRow("desktop's own page before generic")
            << "XFCE" << QStringList{"xfce4-mouse-settings", "lxinput"} << "main.cpl @0"
            << Kind::Start << QStringList{"xfce4-mouse-settings"};
        QTest::newRow("other desktop ignores GNOME's program")
            << "LXQt" << gcc << desk << Kind::NotAvailable << none;
        QTest::newRow("no page anywhere")
            << "KDE" << plasma.mid(0, 1) << "sysdm.cpl,,2" << Kind::NotAvailable << none;
        QTest::newRow("system properties fall back to our window")
            << "XFCE" << none << "sysdm.cpl,,0" << Kind::SystemInformation << none;
        QTest::newRow("second alternative, quoted script argument")
            << "KDE" << QStringList{"qdbus"} << "taskbar-hide" << Kind::Start
            << QStringList{"qdbus", "org.kde.plasmashell", "/PlasmaShell",
                           "org.kde.PlasmaShell.evaluateScript",
                           "panels().forEach(function(p){p.hiding='autohide'})"};
        QTest::newRow("logind where no desktop prompts")
            << "" << QStringList{"systemctl"} << "shutdown" << Kind::Start
            << QStringList{"systemctl", "poweroff"};
        QTest::newRow("unknown key")
            << "GNOME" << gcc << "nosuch.cpl" << Kind::NotAvailable << none;
    }
    void resolve()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, programs);
        QFETCH(QString, key);
        QFETCH(Kind, kind);
        QFETCH(QStringList, command);
        TestEnvironment env;
        FakeDesktop fake(desktop);
        for (const QString &program : programs)
            fake.addProgram(program);
        // Launching resolves, then asks Platform alone to start the command.
        QCOMPARE(DesktopMap::launch(key, fake.environment()), kind);
        if (!command.isEmpty())
            command[0] = fake.bin() + '/' + command[0];
        QCOMPARE(env.platform().started,
                 command.isEmpty() ? QList<QStringList>{} : QList<QStringList>{command});
        QCOMPARE(env.dialogs().messages(),
                 kind == Kind::NotAvailable ? QStringList{NotAvailable} : QStringList{});
        if (kind == Kind::Start) { // a start that fails says the same
            env.platform().startSucceeds = false;
            QCOMPARE(DesktopMap::launch(key, fake.environment()), Kind::NotAvailable);
            QCOMPARE(env.dialogs().messages(), QStringList{NotAvailable});
        }
        for (const auto &shown : env.dialogs().shown())
            QCOMPARE(shown.title, QStringLiteral("Not available"));
    }
};

QTEST_GUILESS_MAIN(tst_DesktopMap)
#include "tst_DesktopMap.moc"
