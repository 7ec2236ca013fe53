#include "DesktopEntry.h"
#include "FakeDesktop.h"
#include "Moduleshortcut.h"
#include "TestEnvironment.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <memory>

using Group = Moduleshortcut::Group;
using Shell = Moduleshortcut::Shell;

// The shortcut module: its group-name rules as a table, and the desktop entries it writes
// checked on disk and, where the tool is installed, by desktop-file-validate.
class tst_Moduleshortcut : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeDesktop> m_fake;

    QString applications() const { return m_env->scratch() + "/data/applications"; }
    Moduleshortcut module(Shell shell = Shell::Freedesktop) const
    {
        return Moduleshortcut(shell, m_fake->environment());
    }
    // The validator accepts the file (when it is installed).
    static void validates(const QString &path)
    {
        const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
        if (tool.isEmpty())
            return;
        QProcess process;
        process.start(tool, {path});
        process.waitForFinished(30000);
        const QString out =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        QVERIFY2(process.exitCode() == 0 && !out.contains("error:"), qPrintable(path + ": " + out));
    }
    static DesktopEntry entryOf(const QString &path)
    {
        return DesktopEntry::read(path).value_or(DesktopEntry());
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &shown : m_env->dialogs().shown())
            texts << shown.title + ": " + shown.text;
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_fake = std::make_unique<FakeDesktop>("GNOME");
        m_env->platform().folders.insert(2, applications());
        m_env->platform().folders.insert(28, m_env->scratch() + "/data");
        m_env->platform().folders.insert(26, m_env->scratch() + "/config");
    }
    void cleanup()
    {
        m_fake.reset();
        m_env.reset();
    }

    void checkGroup_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<Group>("freedesktop");
        QTest::addColumn<Group>("programManager");
        QTest::newRow("desktop") << "..\\..\\Desktop" << Group::Desktop << Group::Desktop;
        QTest::newRow("desktop mixed case, blanks")
            << "  ..\\..\\dEsKtOp " << Group::Desktop << Group::Desktop;
        QTest::newRow("desktop with slashes")
            << "../../Desktop" << Group::Desktop << Group::Desktop;
        QTest::newRow("one level up") << ".." << Group::TopLevel << Group::TopLevel;
        QTest::newRow("one level up, blank") << ".. " << Group::Folder << Group::Folder;
        QTest::newRow("30 characters") << QString(30, 'g') << Group::Folder << Group::Folder;
        QTest::newRow("31 characters") << QString(31, 'g') << Group::Folder << Group::Invalid;
        QTest::newRow("259 characters") << QString(259, 'g') << Group::Folder << Group::Invalid;
        QTest::newRow("260 characters") << QString(260, 'g') << Group::Invalid << Group::Invalid;
        QTest::newRow("brackets") << "Tools [old]" << Group::Folder << Group::Invalid;
        QTest::newRow("parentheses") << "Tools (old)" << Group::Folder << Group::Invalid;
        QTest::newRow("comma") << "Tools, old" << Group::Folder << Group::Invalid;
        QTest::newRow("non-ASCII and apostrophe") << "Tom's Über" << Group::Folder << Group::Folder;
        for (const char c : QByteArray("\\/:*?<>|")) {
            QTest::addRow("forbidden %c", c)
                << QStringLiteral("a%1b").arg(QLatin1Char(c)) << Group::Invalid << Group::Folder;
        }
        QTest::newRow("double quote") << "a\"b" << Group::Invalid << Group::Invalid;
    }
    void checkGroup()
    {
        QFETCH(QString, folder);
        QFETCH(Group, freedesktop);
        QFETCH(Group, programManager);
        QCOMPARE(Moduleshortcut::checkGroup(folder, Shell::Freedesktop), freedesktop);
        QCOMPARE(Moduleshortcut::checkGroup(folder, Shell::ProgramManager), programManager);
    }

    void stripQuotes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("quoted at the start only") << QString("\"/home/u/a") << "\"/home/u/a";
        QTest::newRow("one pair only") << QString("\"\"a\"\"") << "\"a\"";
        QTest::newRow("a lone quote") << QString("\"") << "\"";
    }
    void stripQuotes()
    {
        QFETCH(QString, text);
        QFETCH(QString, stripped);
        QCOMPARE(Moduleshortcut::stripQuotes(text), stripped);
    }

    void namesForFiles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("group");
        QTest::newRow("separators") << QString("a/b\\c") << QString("a-b-c") << "a_2Fb_5Cc";
        QTest::newRow("hidden made visible")
            << QString(".profile") << QString("_profile") << "_2Eprofile";
        QTest::newRow("control character") << QString("a\tb") << QString("a-b") << "a_09b";
        QTest::newRow("non-ASCII") << QString("Über") << QString("Über") << "_C3_9Cber";
        QTest::newRow("at most 200 bytes") // two bytes each
            << QString(150, QChar(0xFC)) << QString(100, QChar(0xFC))
            << QString("_C3_BC").repeated(150);
        // Regression: the cut split a surrogate pair and left half an emoji at the end.
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // 4 UTF-8 bytes
        QTest::newRow("cut between characters")
            << "ab" + emoji.repeated(60) << "ab" + emoji.repeated(49)
            << "ab" + QString("_F0_9F_98_80").repeated(60);
        QTest::newRow("blank and dash")
            << QString("My Tools-2") << QString("My Tools-2") << "My_20Tools-2";
    }
    void namesForFiles()
    {
        QFETCH(QString, title);
        QFETCH(QString, base);
        QFETCH(QString, group);
        QCOMPARE(Moduleshortcut::fileBaseName(title), base);
        QCOMPARE(Moduleshortcut::groupId(title), group);
    }

    void desktopShortcutLinksTheDocument()
    {
        const QString doc = m_env->writeFile("Notes/Tom's Résumé \"final\" 100%.rtf", "{\\rtf1}");
        // Files on some disks are all executable: a document stays a document.
        QFile::setPermissions(doc, QFile::permissions(doc) | QFile::ExeOwner);
        const QString folder = m_env->scratch() + "/not/made/yet";
        m_env->platform().folders.insert(0, folder);
        const QString made =
            module().createShortcut("..\\..\\Desktop", "Tom's Résumé", "\"" + doc + "\"", "");
        QCOMPARE(made, folder + "/Tom's Résumé.desktop");
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Link"));
        QCOMPARE(entry.value("Name"), QStringLiteral("Tom's Résumé"));
        QCOMPARE(QUrl(entry.value("URL")).toLocalFile(), doc);
        QVERIFY(QFileInfo(made).isExecutable());
        QVERIFY(m_env->platform().started.isEmpty()); // no gio on this desktop's PATH
        validates(made);
        // The same title again replaces it; where gio is, the desktop is told to trust it.
        const QString gio = m_fake->addProgram("gio");
        const QString second = m_env->writeFile("2.txt");
        QCOMPARE(module().createShortcut("../../Desktop", "Tom's Résumé", second, ""), made);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Tom's Résumé.desktop"});
        QCOMPARE(QUrl(entryOf(made).value("URL")).toLocalFile(), second);
        QCOMPARE(m_env->platform().started,
                 QList<QStringList>({{gio, "set", made, "metadata::trusted", "true"}}));
        QVERIFY(messages().isEmpty());
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QSKIP("desktop-file-validate is not installed; the entry was checked by reading it");
    }

    void groupShortcutMakesAMenuFolder()
    {
        const QString doc = m_env->writeFile("docs/plan & notes.txt");
        const QString made = module().createShortcut("R&D 'Tools'", "Plan", doc, "--ignored");
        QCOMPARE(made, applications() + "/R&D 'Tools'/nuvela-Plan.desktop");
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Application"));
        QCOMPARE(entry.execArguments(), QStringList({"xdg-open", doc}));
        const QString id = "R_26D_20_27Tools_27";
        QCOMPARE(entry.list("Categories"), QStringList({"X-Nuvela-" + id}));

        const QString directory =
            m_env->scratch() + "/data/desktop-directories/nuvela-" + id + ".directory";
        QCOMPARE(entryOf(directory).value("Type"), QStringLiteral("Directory"));
        QCOMPARE(entryOf(directory).value("Name"), QStringLiteral("R&D 'Tools'"));
        QFile menu(m_env->scratch() + "/config/menus/applications-merged/nuvela-" + id + ".menu");
        QVERIFY(menu.open(QIODevice::ReadOnly));
        const QByteArray xml = menu.readAll();
        QVERIFY(xml.contains("<Name>R&amp;D 'Tools'</Name>"));
        QVERIFY(xml.contains("<Category>X-Nuvela-" + id.toLatin1() + "</Category>"));
        QVERIFY(xml.contains("<Directory>nuvela-" + id.toLatin1() + ".directory</Directory>"));
        // Menus need no trust.
        QVERIFY(m_env->platform().started.isEmpty());
        QVERIFY(messages().isEmpty());
        validates(made);
        validates(directory);
    }

    void programShortcutAtTheTopOfTheMenu()
    {
        const QString program = m_env->writeFile("bin/my tool.sh", "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        // Typed as a shell would take them; each comes back whole from the Exec key.
        const QString made = module().createShortcut(
            "..", "Tool", program, "\"--name=\"\"a b\"\" 100%\" -v '' 'a\\b$x`y' Tom\\'s");
        QCOMPARE(made, applications() + "/nuvela-Tool.desktop");
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Application"));
        QCOMPARE(entry.execArguments(),
                 QStringList({program, "--name=a b 100%", "-v", "", "a\\b$x`y", "Tom's"}));
        QVERIFY(!entry.contains("Categories"));
        QVERIFY(!QFileInfo::exists(m_env->scratch() + "/data/desktop-directories"));
        QVERIFY(!QFileInfo::exists(m_env->scratch() + "/config/menus"));
        validates(made);
    }

    // Every refusal says why once, with its own icon, leaves no entry and starts nothing.
    void failures_data()
    {
        QTest::addColumn<Shell>("shell");
        QTest::addColumn<int>("blocked");      // a special folder that is a file, or -1
        QTest::addColumn<QStringList>("call"); // folder, title, target: "doc", "program" or a path
        QTest::addColumn<QString>("message");
        const QString invalid = "Error: Error: Could not validate the Program Group name!";
        const QString failed = "Ouch!: Create Shortcut Failed!";
        const QString noGroup = "Ouch!: Create Start Menu Group Failed!";
        const QString notAvailable =
            "Not available: The selected function is not available on this system";
        const Shell fd = Shell::Freedesktop;
        const Shell pm = Shell::ProgramManager;
        const QString desktop = "..\\..\\Desktop";
        QTest::newRow("invalid group") << fd << -1 << QStringList{"a|b", "T", "doc"} << invalid;
        QTest::newRow("relative target")
            << fd << -1 << QStringList{desktop, "T", "any.txt"} << failed;
        QTest::newRow("blank title") << fd << -1 << QStringList{desktop, "  ", "doc"} << failed;
        QTest::newRow("blank group") << fd << -1 << QStringList{" ", "T", "doc"} << noGroup;
        QTest::newRow("badly quoted arguments")
            << fd << -1 << QStringList{desktop, "P", "program"} << failed;
        QTest::newRow("desktop unwritable")
            << fd << 0 << QStringList{desktop, "T", "doc"} << failed;
        QTest::newRow("menu files unwritable")
            << fd << 26 << QStringList{"Tools", "T", "doc"} << noGroup;
        QTest::newRow("top of the menu unwritable")
            << fd << 2 << QStringList{"..", "T", "doc"} << failed;
        QTest::newRow("Program Manager: 30 characters")
            << pm << -1 << QStringList{QString(30, 'g'), "T", "doc"} << notAvailable;
        QTest::newRow("Program Manager: 31 characters")
            << pm << -1 << QStringList{QString(31, 'g'), "T", "doc"} << invalid;
    }
    void failures()
    {
        QFETCH(Shell, shell);
        QFETCH(int, blocked);
        QFETCH(QStringList, call);
        QFETCH(QString, message);
        const QString program = m_env->writeFile("bin/p", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        if (call[2] == "doc" || call[2] == "program")
            call[2] = call[2] == "doc" ? m_env->writeFile("t.txt") : program;
        if (blocked >= 0) // nothing can be made beneath a regular file
            m_env->platform().folders.insert(blocked, m_env->writeFile("blocked") + "/sub");
        // Badly quoted arguments: only a program takes them.
        QVERIFY(module(shell).createShortcut(call[0], call[1], call[2], "\"open").isEmpty());
        QCOMPARE(messages(), QStringList{message});
        const QHash<QString, Dialogs::Icon> icons = {{"Error", Dialogs::Icon::Question},
                                                     {"Ouch!", Dialogs::Icon::Warning},
                                                     {"Not available", Dialogs::Icon::Information}};
        const ScriptedDialogs::Shown &shown = m_env->dialogs().shown().first();
        QCOMPARE(shown.icon, icons.value(shown.title));
        QDirIterator it(m_env->scratch(), {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
        QVERIFY(m_env->platform().started.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_Moduleshortcut)
#include "tst_Moduleshortcut.moc"
