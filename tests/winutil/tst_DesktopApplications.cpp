#include "DesktopApplications.h"
#include "DesktopEntry.h"
#include "FakeDesktop.h"

#include <QTest>

using Accessory = DesktopApplications::Accessory;

// Desktop entries read the way the desktop reads them, and the accessories found from the
// user's default applications.
class tst_DesktopApplications : public QObject
{
    Q_OBJECT

    static QString idOf(const std::optional<DesktopApplications::Application> &app)
    {
        return app ? app->id : QStringLiteral("(none)");
    }

private Q_SLOTS:
    void parseKeys()
    {
        const DesktopEntry entry = DesktopEntry::parse("# comment\n"
                                                       "[Desktop Entry]\n"
                                                       "Name=Two\\nLines\\\\ \\sx\n"
                                                       "Name[de]=Zwei\n"
                                                       " Comment = spaced \n"
                                                       "Categories=A;B;;\n"
                                                       "Name=Second wins not\n"
                                                       "[Desktop Action new]\n"
                                                       "Exec=other\n");
        QCOMPARE(entry.value("Name"), QStringLiteral("Two\nLines\\  x"));
        QCOMPARE(entry.value("Comment"), QStringLiteral("spaced"));
        QCOMPARE(entry.list("Categories"), QStringList({"A", "B"}));
        QVERIFY(!entry.contains("Exec"));
        QVERIFY(DesktopEntry::parse("[Other]\nName=x\n").isEmpty());
    }

    void escapeRoundTrips_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "Report";
        QTest::newRow("leading blank") << " Report";
        QTest::newRow("backslash") << "C:\\Notes\\a";
        QTest::newRow("controls") << "a\nb\tc\rd";
        QTest::newRow("non-ASCII and quote") << "Tom's Résumé \"final\"";
    }
    void escapeRoundTrips()
    {
        QFETCH(QString, value);
        DesktopEntry entry;
        entry.set("Name", value);
        QCOMPARE(DesktopEntry::parse(entry.text()).value("Name"), value);
        QVERIFY(!entry.text().contains("=\n") || value.isEmpty());
        QCOMPARE(entry.text().count('\n'), 2); // no raw line break in the value
    }

    void execArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("file codes dropped") << "gedit %U" << QStringList{"gedit"};
        QTest::newRow("many codes")
            << "app --new-window %f %F %u %i %m" << QStringList{"app", "--new-window"};
        QTest::newRow("percent") << "printf 100%%" << QStringList{"printf", "100%"};
        QTest::newRow("lone percent word") << "x %%" << QStringList{"x", "%"};
        QTest::newRow("name and path")
            << "app %c %k" << QStringList{"app", "Calc", "/apps/calc.desktop"};
        QTest::newRow("quoted program")
            << "\"/opt/My App/run\" -x" << QStringList{"/opt/My App/run", "-x"};
        QTest::newRow("quoted backslash from the key file")
            << "sh -c \"echo \\\\\\\\$HOME\"" << QStringList{"sh", "-c", "echo \\$HOME"};
        QTest::newRow("badly quoted") << "app \"open" << QStringList{};
    }
    void execArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, arguments);
        const DesktopEntry entry =
            DesktopEntry::parse("[Desktop Entry]\nName=Calc\nExec=" + exec.toUtf8() + "\n");
        QCOMPARE(entry.execArguments("/apps/calc.desktop"), arguments);
    }

    void leavesOutWhatCannotStart()
    {
        FakeDesktop fake("GNOME");
        fake.addProgram("calc");
        fake.addApplication("good.desktop", "Name=Good\nExec=calc\nCategories=Calculator;\n");
        fake.addApplication("hidden.desktop", "Hidden=true\nExec=calc\n");
        fake.write(fake.data() + "/applications/link.desktop",
                   "[Desktop Entry]\nType=Link\nURL=file:///tmp\n");
        fake.addApplication("terminal.desktop", "Exec=calc\nTerminal=true\n");
        fake.addApplication("tryexec.desktop", "Exec=calc\nTryExec=missing-program\n");
        fake.addApplication("missing.desktop", "Exec=missing-program %f\n");
        fake.addApplication("sub/nested.desktop", "Name=Nested\nExec=calc\n");
        fake.write(fake.data() + "/applications/broken.desktop", "\xff\xfe garbage");
        const DesktopApplications apps(fake.environment());
        QStringList ids;
        for (const auto &app : apps.applications())
            ids << app.id;
        QCOMPARE(ids, QStringList({"good.desktop", "sub-nested.desktop"}));
        QCOMPARE(apps.find("good.desktop")->program, fake.bin() + "/calc");
    }

    void userEntryHidesTheSystemOne()
    {
        FakeDesktop fake("GNOME");
        fake.addProgram("calc");
        fake.addApplication("calc.desktop", "Name=System\nExec=calc\n");
        fake.addApplication("calc.desktop", "Name=Mine\nExec=calc --mine\n", true);
        fake.addApplication("gone.desktop", "Name=System\nExec=calc\n");
        fake.addApplication("gone.desktop", "Hidden=true\n", true);
        const DesktopApplications apps(fake.environment());
        QCOMPARE(apps.find("calc.desktop")->name, QStringLiteral("Mine"));
        QCOMPARE(apps.find("calc.desktop")->arguments, QStringList({"--mine"}));
        QVERIFY(!apps.find("gone.desktop"));
    }

    void defaults_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("expected");
        // Lists of increasing precedence are written below; each row states the winner.
        QTest::newRow("user's desktop-specific list") << "GNOME"
                                                      << "a.desktop";
        QTest::newRow("other desktop skips it") << "KDE"
                                                << "b.desktop";
    }
    void defaults()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, expected);
        FakeDesktop fake(desktop);
        fake.addProgram("prog");
        for (const char *id : {"a.desktop", "b.desktop", "c.desktop", "d.desktop"})
            fake.addApplication(id, "Exec=prog\nMimeType=text/plain;\n");
        fake.write(fake.configHome() + "/gnome-mimeapps.list",
                   "[Default Applications]\ntext/plain=uninstalled.desktop;a.desktop;\n");
        fake.write(fake.configHome() + "/mimeapps.list",
                   "[Added Associations]\ntext/plain=d.desktop;\n"
                   "[Default Applications]\ntext/plain=b.desktop\n");
        fake.write(fake.data() + "/applications/mimeapps.list",
                   "[Default Applications]\ntext/plain=c.desktop;\n");
        const DesktopApplications apps(fake.environment());
        QCOMPARE(idOf(apps.defaultFor("text/plain")), expected);
    }

    void defaultsFromSystemLists()
    {
        FakeDesktop fake("XFCE");
        fake.addProgram("prog");
        for (const char *id : {"a.desktop", "b.desktop", "c.desktop"})
            fake.addApplication(id, "Exec=prog\nMimeType=text/html;\n");
        fake.write(fake.data() + "/applications/defaults.list",
                   "[Default Applications]\ntext/html=c.desktop\n");
        QCOMPARE(idOf(DesktopApplications(fake.environment()).defaultFor("text/html")),
                 QStringLiteral("c.desktop"));
        fake.write(fake.data() + "/applications/xfce-mimeapps.list",
                   "[Default Applications]\ntext/html=b.desktop\n");
        QCOMPARE(idOf(DesktopApplications(fake.environment()).defaultFor("text/html")),
                 QStringLiteral("b.desktop"));
    }

    void withoutDefaultsTheFirstDeclaringApplication()
    {
        FakeDesktop fake("GNOME");
        fake.addProgram("prog");
        fake.addApplication("a.desktop", "Exec=prog\nMimeType=image/png;\nNoDisplay=true\n");
        fake.addApplication("b.desktop", "Exec=prog\nMimeType=image/png;\nOnlyShowIn=KDE;\n");
        fake.addApplication("c.desktop", "Exec=prog\nMimeType=image/png;\nNotShowIn=GNOME;\n");
        fake.addApplication("d.desktop", "Exec=prog\nMimeType=image/jpeg;image/png\n");
        const DesktopApplications apps(fake.environment());
        QCOMPARE(idOf(apps.defaultFor("image/png")), QStringLiteral("d.desktop"));
        QCOMPARE(idOf(apps.defaultFor("image/gif")), QStringLiteral("(none)"));
    }

    void accessories_data()
    {
        QTest::addColumn<Accessory>("accessory");
        QTest::addColumn<QString>("expected");
        QTest::newRow("calculator by category") << Accessory::Calculator << "calc.desktop";
        QTest::newRow("browser by default") << Accessory::Browser << "web2.desktop";
        QTest::newRow("terminal by category") << Accessory::Terminal << "term.desktop";
        QTest::newRow("media player needs both categories")
            << Accessory::MediaPlayer << "video.desktop";
        QTest::newRow("no phone dialer") << Accessory::PhoneDialer << "(none)";
        QTest::newRow("mail through its default only") << Accessory::Mail << "(none)";
    }
    void accessories()
    {
        QFETCH(Accessory, accessory);
        QFETCH(QString, expected);
        FakeDesktop fake("GNOME");
        fake.addProgram("prog");
        fake.addApplication("calc.desktop", "Exec=prog\nCategories=Utility;Calculator;\n");
        fake.addApplication("web1.desktop", "Exec=prog %u\nCategories=Network;WebBrowser;\n");
        fake.addApplication("web2.desktop", "Exec=prog %u\nCategories=Network;WebBrowser;\n");
        fake.addApplication("term.desktop", "Exec=prog\nCategories=System;TerminalEmulator;\n");
        fake.addApplication("audio.desktop", "Exec=prog\nCategories=AudioVideo;Player;Audio;\n");
        fake.addApplication("video.desktop", "Exec=prog\nCategories=AudioVideo;Player;Video;\n");
        fake.addApplication("mail.desktop", "Exec=missing\nCategories=Email;\n");
        fake.write(fake.configHome() + "/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/http=web2.desktop\n");
        QCOMPARE(idOf(DesktopApplications(fake.environment()).accessory(accessory)), expected);
    }
};

QTEST_GUILESS_MAIN(tst_DesktopApplications)
#include "tst_DesktopApplications.moc"
