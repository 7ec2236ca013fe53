#include "DesktopEntry.h"
#include "FakeDesktop.h"
#include "Moduleshortcut.h"
#include "TestEnvironment.h"

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

    QString desktop() const { return m_env->platform().folders.value(0); }
    QString applications() const { return m_env->scratch() + "/data/applications"; }
    Moduleshortcut module(Shell shell = Shell::Freedesktop) const
    {
        return Moduleshortcut(shell, m_fake->environment());
    }
    // The validator's complaints about a file; "" when it accepts it or is not installed.
    static QString validate(const QString &path)
    {
        const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
        if (tool.isEmpty())
            return {};
        QProcess process;
        process.start(tool, {path});
        process.waitForFinished(30000);
        const QString out =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode() == 0 && !out.contains("error:") ? QString() : out;
    }
    static DesktopEntry entryOf(const QString &path)
    {
        const auto entry = DesktopEntry::read(path);
        return entry ? *entry : DesktopEntry();
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
        m_env->dialogs().clear();
        m_env.reset();
    }

    void checkGroup_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<Group>("freedesktop");
        QTest::addColumn<Group>("programManager");
        QTest::newRow("desktop") << "..\\..\\Desktop" << Group::Desktop << Group::Desktop;
        QTest::newRow("desktop upper case")
            << "..\\..\\DESKTOP" << Group::Desktop << Group::Desktop;
        QTest::newRow("desktop mixed case, blanks")
            << "  ..\\..\\dEsKtOp " << Group::Desktop << Group::Desktop;
        QTest::newRow("desktop with slashes")
            << "../../Desktop" << Group::Desktop << Group::Desktop;
        QTest::newRow("one level up") << ".." << Group::TopLevel << Group::TopLevel;
        QTest::newRow("one level up, blank") << ".. " << Group::Folder << Group::Folder;
        QTest::newRow("plain group") << "Nuvela Tools" << Group::Folder << Group::Folder;
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
        QTest::newRow("quoted") << "\"/home/u/a b.txt\""
                                << "/home/u/a b.txt";
        QTest::newRow("quoted at the start only") << "\"/home/u/a"
                                                  << "\"/home/u/a";
        QTest::newRow("quoted at the end only") << "/home/u/a\""
                                                << "/home/u/a\"";
        QTest::newRow("one pair only") << "\"\"a\"\""
                                       << "\"a\"";
        QTest::newRow("empty quotes") << "\"\""
                                      << "";
        QTest::newRow("a lone quote") << "\""
                                      << "\"";
        QTest::newRow("single quotes stay") << "'a'"
                                            << "'a'";
        QTest::newRow("empty") << ""
                               << "";
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
        QTest::newRow("plain") << "Report"
                               << "Report"
                               << "Report";
        QTest::newRow("separators") << "a/b\\c"
                                    << "a-b-c"
                                    << "a_2Fb_5Cc";
        QTest::newRow("hidden made visible") << ".profile"
                                             << "_profile"
                                             << "_2Eprofile";
        QTest::newRow("control character") << "a\tb"
                                           << "a-b"
                                           << "a_09b";
        QTest::newRow("non-ASCII") << "Über"
                                   << "Über"
                                   << "_C3_9Cber";
        QTest::newRow("blank and dash") << "My Tools-2"
                                        << "My Tools-2"
                                        << "My_20Tools-2";
    }
    void namesForFiles()
    {
        QFETCH(QString, title);
        QFETCH(QString, base);
        QFETCH(QString, group);
        QCOMPARE(Moduleshortcut::fileBaseName(title), base);
        QCOMPARE(Moduleshortcut::groupId(title), group);
    }

    void longTitleFitsAFileName()
    {
        const QString base = Moduleshortcut::fileBaseName(QString(150, QChar(0x00FC)));
        QVERIFY(base.toUtf8().size() <= 200);
        QVERIFY(base.size() >= 99);
    }

    void desktopShortcutLinksTheDocument()
    {
        const QString doc = m_env->writeFile("Notes/Tom's Résumé \"final\" 100%.rtf", "{\\rtf1}");
        const QString made = module().createShortcut("..\\..\\Desktop", "Tom's Résumé", doc, "");
        QCOMPARE(made, desktop() + "/Tom's Résumé.desktop");
        QVERIFY(messages().isEmpty());
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Link"));
        QCOMPARE(entry.value("Name"), QStringLiteral("Tom's Résumé"));
        QCOMPARE(QUrl(entry.value("URL")).toLocalFile(), doc);
        QVERIFY(QFileInfo(made).isExecutable());
        // No gio on this desktop's PATH: nothing is started.
        QVERIFY(m_env->platform().started.isEmpty());
        const QString complaints = validate(made);
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QSKIP("desktop-file-validate is not installed; the entry was checked by reading it");
    }

    void desktopShortcutIsTrustedWhereGioIs()
    {
        const QString gio = m_fake->addProgram("gio");
        const QString doc = m_env->writeFile("a.txt");
        const QString made = module().createShortcut("..\\..\\DESKTOP", "A", "\"" + doc + "\"", "");
        QCOMPARE(QUrl(entryOf(made).value("URL")).toLocalFile(), doc);
        QCOMPARE(m_env->platform().started,
                 QList<QStringList>({{gio, "set", made, "metadata::trusted", "true"}}));
    }

    void desktopFolderIsMadeWhenMissing()
    {
        m_env->platform().folders.insert(0, m_env->scratch() + "/no/desktop");
        const QString made =
            module().createShortcut("../../Desktop", "A", m_env->writeFile("a"), "");
        QVERIFY(QFileInfo::exists(made));
    }

    void sameTitleReplacesTheShortcut()
    {
        const QString first =
            module().createShortcut("..\\..\\Desktop", "Doc", m_env->writeFile("1.txt"), "");
        const QString second =
            module().createShortcut("..\\..\\Desktop", "Doc", m_env->writeFile("2.txt"), "");
        QCOMPARE(second, first);
        QCOMPARE(QDir(desktop()).entryList(QDir::Files).size(), 1);
        QVERIFY(entryOf(second).value("URL").endsWith("/2.txt"));
    }

    void groupShortcutMakesAMenuFolder()
    {
        const QString doc = m_env->writeFile("docs/plan & notes.txt");
        const QString made = module().createShortcut("My Tools", "Plan", doc, "--ignored");
        QCOMPARE(made, applications() + "/My Tools/nuvela-Plan.desktop");
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Application"));
        QCOMPARE(entry.execArguments(), QStringList({"xdg-open", doc}));
        QCOMPARE(entry.list("Categories"), QStringList({"X-Nuvela-My_20Tools"}));

        const QString directory =
            m_env->scratch() + "/data/desktop-directories/nuvela-My_20Tools.directory";
        QCOMPARE(entryOf(directory).value("Type"), QStringLiteral("Directory"));
        QCOMPARE(entryOf(directory).value("Name"), QStringLiteral("My Tools"));
        QFile menu(m_env->scratch() + "/config/menus/applications-merged/nuvela-My_20Tools.menu");
        QVERIFY(menu.open(QIODevice::ReadOnly));
        const QByteArray xml = menu.readAll();
        QVERIFY(xml.contains("<Name>My Tools</Name>"));
        QVERIFY(xml.contains("<Directory>nuvela-My_20Tools.directory</Directory>"));
        QVERIFY(xml.contains("<Category>X-Nuvela-My_20Tools</Category>"));
        QVERIFY(xml.contains("-//freedesktop//DTD Menu 1.0//EN"));
        // Menus need no trust.
        QVERIFY(m_env->platform().started.isEmpty());
        QVERIFY(messages().isEmpty());
        for (const QString &file : {made, directory}) {
            const QString complaints = validate(file);
            QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
        }
    }

    void groupNameWithMarkupStaysWellFormed()
    {
        const QString made = module().createShortcut("R&D <old>'s", "X", m_env->writeFile("x"), "");
        QVERIFY(made.isEmpty()); // "<" and ">" are refused by the name rules
        const QString ok = module().createShortcut("R&D 'old'", "X", m_env->writeFile("x"), "");
        QVERIFY(!ok.isEmpty());
        QFile menu(m_env->scratch() + "/config/menus/applications-merged/nuvela-" +
                   Moduleshortcut::groupId("R&D 'old'") + ".menu");
        QVERIFY(menu.open(QIODevice::ReadOnly));
        QVERIFY(menu.readAll().contains("<Name>R&amp;D 'old'</Name>"));
        QCOMPARE(messages(),
                 QStringList({"Error: Error: Could not validate the Program Group name!"}));
        m_env->dialogs().clear();
    }

    void topLevelShortcutMakesNoFolder()
    {
        const QString made = module().createShortcut("..", "Top", m_env->writeFile("t.txt"), "");
        QCOMPARE(made, applications() + "/nuvela-Top.desktop");
        QVERIFY(!entryOf(made).contains("Categories"));
        QVERIFY(!QFileInfo::exists(m_env->scratch() + "/data/desktop-directories"));
        QVERIFY(!QFileInfo::exists(m_env->scratch() + "/config/menus"));
    }

    void programShortcutKeepsItsArguments()
    {
        const QString program = m_env->writeFile("bin/my tool.sh", "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        const QString made = module().createShortcut("..\\..\\Desktop", "Tool", program,
                                                     "\"--name=\"\"a b\"\" 100%\" -v");
        const DesktopEntry entry = entryOf(made);
        QCOMPARE(entry.value("Type"), QStringLiteral("Application"));
        QCOMPARE(entry.execArguments(), QStringList({program, "--name=a b 100%", "-v"}));
        const QString complaints = validate(made);
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
    }

    void executableDocumentIsStillADocument()
    {
        const QString doc = m_env->writeFile("disk/letter.txt", "Dear all\n");
        QFile::setPermissions(doc, QFile::permissions(doc) | QFile::ExeOwner);
        QVERIFY(!Moduleshortcut::isProgram(doc));
        const QString made = module().createShortcut("..\\..\\Desktop", "Letter", doc, "");
        QCOMPARE(entryOf(made).value("Type"), QStringLiteral("Link"));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        const QString doc = "/tmp/any.txt";
        QTest::newRow("invalid group")
            << "a:b"
            << "T" << doc << "Error: Error: Could not validate the Program Group name!";
        QTest::newRow("relative target") << "..\\..\\Desktop"
                                         << "T"
                                         << "any.txt"
                                         << "Ouch!: Create Shortcut Failed!";
        QTest::newRow("blank title") << "..\\..\\Desktop"
                                     << "  " << doc << "Ouch!: Create Shortcut Failed!";
        QTest::newRow("blank group") << " "
                                     << "T" << doc << "Ouch!: Create Start Menu Group Failed!";
    }
    void failures()
    {
        QFETCH(QString, folder);
        QFETCH(QString, title);
        QFETCH(QString, target);
        QFETCH(QString, message);
        QVERIFY(module().createShortcut(folder, title, target, "").isEmpty());
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(QDir(desktop()).entryList(QDir::Files), QStringList());
        QVERIFY(!QFileInfo::exists(applications()));
        m_env->dialogs().clear();
    }

    void invalidGroupAsksWithTheQuestionIcon()
    {
        module().createShortcut("a|b", "T", "/tmp/x", "");
        QCOMPARE(m_env->dialogs().shown().size(), 1);
        QCOMPARE(m_env->dialogs().shown().first().icon, Dialogs::Icon::Question);
        m_env->dialogs().clear();
    }

    void unwritableFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("blocked"); // the special folder that is a file
        QTest::addColumn<QString>("message");
        QTest::newRow("desktop") << "..\\..\\Desktop" << 0 << "Ouch!: Create Shortcut Failed!";
        QTest::newRow("menu folder") << "Tools" << 2 << "Ouch!: Create Start Menu Group Failed!";
        QTest::newRow("menu files") << "Tools" << 26 << "Ouch!: Create Start Menu Group Failed!";
        QTest::newRow("top of the menu") << ".." << 2 << "Ouch!: Create Shortcut Failed!";
    }
    void unwritableFolders()
    {
        QFETCH(QString, folder);
        QFETCH(int, blocked);
        QFETCH(QString, message);
        // A regular file where the folder should be: nothing can be made beneath it.
        m_env->platform().folders.insert(blocked, m_env->writeFile("blocked") + "/sub");
        QVERIFY(module().createShortcut(folder, "T", m_env->writeFile("t.txt"), "").isEmpty());
        QCOMPARE(messages(), QStringList{message});
        QVERIFY(m_env->platform().started.isEmpty());
        m_env->dialogs().clear();
    }

    void badlyQuotedArgumentsFail()
    {
        const QString program = m_env->writeFile("bin/p", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        QVERIFY(module().createShortcut("..\\..\\Desktop", "P", program, "\"open").isEmpty());
        QCOMPARE(messages(), QStringList{"Ouch!: Create Shortcut Failed!"});
        QCOMPARE(QDir(desktop()).entryList(QDir::Files), QStringList());
        m_env->dialogs().clear();
    }

    void programManagerIsNotAvailable_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("message");
        const QString notAvailable =
            "Not available: The selected function is not available on this system";
        QTest::newRow("desktop") << "..\\..\\Desktop" << notAvailable;
        QTest::newRow("30 characters") << QString(30, 'g') << notAvailable;
        QTest::newRow("colon is fine for it") << "a:b" << notAvailable;
        QTest::newRow("31 characters")
            << QString(31, 'g') << "Error: Error: Could not validate the Program Group name!";
    }
    void programManagerIsNotAvailable()
    {
        QFETCH(QString, folder);
        QFETCH(QString, message);
        QVERIFY(module(Shell::ProgramManager)
                    .createShortcut(folder, "T", m_env->writeFile("t.txt"), "")
                    .isEmpty());
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(QDir(desktop()).entryList(QDir::Files), QStringList());
        QVERIFY(!QFileInfo::exists(applications()));
        m_env->dialogs().clear();
    }
};

QTEST_GUILESS_MAIN(tst_Moduleshortcut)
#include "tst_Moduleshortcut.moc"
