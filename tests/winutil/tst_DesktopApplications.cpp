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
        QTest::newRow("leading blank, backslash") << " C:\\Notes\\a";
        QTest::newRow("controls") << "a\nb\tc\rd";
    }
    void escapeRoundTrips()
    {
        QFETCH(QString, value);
        DesktopEntry entry;
        entry.set("Name", value);
        QCOMPARE(DesktopEntry::parse(entry.text()).value("Name"), value);
        QCOMPARE(entry.text().count('\n'), 2); // no raw line break in the value
    }

    void execArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("field codes dropped")
            << "app --new-window %f %F %u %U %i %m" << QStringList{"app", "--new-window"};
        QTest::newRow("percent") << "printf 100%% %%" << QStringList{"printf", "100%", "%"};
        QTest::newRow("name and path")
            << "app %c %k" << QStringList{"app", "Calc", "/apps/calc.desktop"};
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

    // Regression: an ID the user's own entry hides stayed visible from the system folder.
    void readsWhatCanStart()
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
        fake.addApplication("gone.desktop", "Name=Gone\nExec=calc\n");
        fake.write(fake.data() + "/applications/broken.desktop", "\xff\xfe garbage");
        // The user's own entries hide the system's, even when they are hidden themselves.
        fake.addApplication("good.desktop", "Name=Mine\nExec=calc --mine\n", true);
        fake.addApplication("gone.desktop", "Hidden=true\n", true);
        const DesktopApplications apps(fake.environment());
        QStringList ids;
        for (const auto &app : apps.applications())
            ids << (QStringList{app.id, app.name} + app.arguments).join(' ');
        QCOMPARE(ids, QStringList({"good.desktop Mine --mine", "sub-nested.desktop Nested"}));
        QCOMPARE(apps.find("good.desktop")->program, fake.bin() + "/calc");
    }

    void defaults_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("lists"); // how many of the lists below, in rising precedence
        QTest::addColumn<QString>("expected");
        QTest::newRow("no lists: the first shown on GNOME") << "GNOME" << 0 << "d.desktop";
        QTest::newRow("no lists: only shown on KDE") << "KDE" << 0 << "b.desktop";
        QTest::newRow("defaults.list, even for a hidden entry") << "GNOME" << 1 << "a.desktop";
        QTest::newRow("system list before defaults.list") << "GNOME" << 2 << "b.desktop";
        QTest::newRow("user's list first; added ones are no defaults")
            << "GNOME" << 3 << "c.desktop";
        QTest::newRow("desktop's own list first, uninstalled skipped")
            << "GNOME" << 4 << "d.desktop";
        QTest::newRow("another desktop's list skipped") << "KDE" << 4 << "c.desktop";
    }
    void defaults()
    {
        QFETCH(QString, desktop);
        QFETCH(int, lists);
        QFETCH(QString, expected);
        FakeDesktop fake(desktop);
        fake.addProgram("prog");
        fake.addApplication("a.desktop", "Exec=prog\nMimeType=text/plain;\nNoDisplay=true\n");
        fake.addApplication("b.desktop", "Exec=prog\nMimeType=text/plain;\nOnlyShowIn=KDE;\n");
        fake.addApplication("c.desktop", "Exec=prog\nMimeType=text/plain;\nNotShowIn=GNOME;\n");
        fake.addApplication("d.desktop", "Exec=prog\nMimeType=image/png;text/plain\n");
        const QList<std::pair<QString, QByteArray>> files = {
            {fake.data() + "/applications/defaults.list", "text/plain=a.desktop\n"},
            {fake.data() + "/applications/mimeapps.list", "text/plain=b.desktop;\n"},
            {fake.configHome() + "/mimeapps.list",
             "x=y\n[Added Associations]\ntext/plain=d.desktop;\n"
             "[Default Applications]\ntext/plain=c.desktop\n"},
            {fake.configHome() + "/gnome-mimeapps.list", "text/plain=gone.desktop;d.desktop;\n"}};
        for (const auto &[path, content] : files.mid(0, lists))
            fake.write(path, "[Default Applications]\n" + content);
        const DesktopApplications apps(fake.environment());
        QCOMPARE(idOf(apps.defaultFor("text/plain")), expected);
        QCOMPARE(idOf(apps.defaultFor("image/gif")), QStringLiteral("(none)"));
    }

    void accessories_data()
    {
        QTest::addColumn<Accessory>("accessory");
        QTest::addColumn<QString>("expected");
        QTest::newRow("media player needs both categories")
            << Accessory::MediaPlayer << "video.desktop";
        QTest::newRow("mail program not installed") << Accessory::Mail << "(none)";
    }
    void accessories()
    {
        QFETCH(Accessory, accessory);
        QFETCH(QString, expected);
        FakeDesktop fake("GNOME");
        fake.addProgram("prog");
        fake.addApplication("audio.desktop", "Exec=prog\nCategories=AudioVideo;Player;Audio;\n");
        fake.addApplication("video.desktop", "Exec=prog\nCategories=AudioVideo;Player;Video;\n");
        fake.addApplication("mail.desktop", "Exec=missing\nCategories=Email;\n");
        QCOMPARE(idOf(DesktopApplications(fake.environment()).accessory(accessory)), expected);
    }
};

QTEST_GUILESS_MAIN(tst_DesktopApplications)
#include "tst_DesktopApplications.moc"
