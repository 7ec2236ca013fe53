#include "CommandLine.h"
#include "FakeDesktop.h"
#include "RunCommand.h"
#include "RunHistory.h"

#include <QTest>

// Typed and stored command lines split into a program and arguments without a shell.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QStringList>("words");
        const QString noHome;
        QTest::newRow("plain") << "gedit notes.txt" << noHome << QStringList{"gedit", "notes.txt"};
        QTest::newRow("runs of blanks and tabs") << "  a \t b  " << noHome << QStringList{"a", "b"};
        QTest::newRow("single quotes literal")
            << "echo 'a \"b\" \\n $x'" << noHome << QStringList{"echo", "a \"b\" \\n $x"};
        QTest::newRow("double quotes keep blanks") << "open \"My Documents/a b.txt\"" << noHome
                                                   << QStringList{"open", "My Documents/a b.txt"};
        QTest::newRow("escapes inside double quotes")
            << "x \"a\\\"b\\\\c\\$d\\`e\\nf\"" << noHome << QStringList{"x", "a\"b\\c$d`e\\nf"};
        QTest::newRow("backslash outside quotes")
            << "a\\ b c\\'d" << noHome << QStringList{"a b", "c'd"};
        QTest::newRow("empty quoted word")
            << "prog \"\" ''" << noHome << QStringList{"prog", "", ""};
        QTest::newRow("quotes join a word") << "a\"b c\"'d'" << noHome << QStringList{"ab cd"};
        QTest::newRow("no shell operators")
            << "ls; rm -rf x | cat && y $(z)" << noHome
            << QStringList{"ls;", "rm", "-rf", "x", "|", "cat", "&&", "y", "$(z)"};
        QTest::newRow("non-ASCII") << "gedit \"Résumé Ünïcode.txt\"" << noHome
                                   << QStringList{"gedit", "Résumé Ünïcode.txt"};
        QTest::newRow("blank text") << "   " << noHome << QStringList{};
        QTest::newRow("tilde alone") << "ls ~"
                                     << "/home/u" << QStringList{"ls", "/home/u"};
        QTest::newRow("tilde slash") << "ls ~/Music"
                                     << "/home/u" << QStringList{"ls", "/home/u/Music"};
        QTest::newRow("tilde inside a word stays") << "ls a~ ~x"
                                                   << "/home/u" << QStringList{"ls", "a~", "~x"};
        QTest::newRow("quoted tilde stays") << "ls '~' \"~/a\""
                                            << "/home/u" << QStringList{"ls", "~", "~/a"};
        QTest::newRow("tilde without home") << "ls ~/a" << noHome << QStringList{"ls", "~/a"};
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QString, home);
        QFETCH(QStringList, words);
        const auto result = CommandLine::split(text, home);
        QVERIFY(result);
        QCOMPARE(*result, words);
    }

    void splitRefusesOpenQuotes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("open double quote") << "gedit \"a b";
        QTest::newRow("open single quote") << "gedit 'a b";
        QTest::newRow("escaped closing quote") << "gedit \"a\\\"";
        QTest::newRow("lone trailing backslash") << "gedit a\\";
    }
    void splitRefusesOpenQuotes()
    {
        QFETCH(QString, text);
        QVERIFY(!CommandLine::split(text));
    }

    void quoteRoundTrips_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("plain");
        QTest::newRow("plain") << "/usr/bin/gedit" << true;
        QTest::newRow("blank") << "/home/u/My Notes.txt" << false;
        QTest::newRow("double quote") << "say \"hi\"" << false;
        QTest::newRow("single quote") << "Tom's file" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("dollar and backtick") << "$HOME`x`" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("non-ASCII") << "Résumé" << true;
    }
    void quoteRoundTrips()
    {
        QFETCH(QString, argument);
        QFETCH(bool, plain);
        const QString quoted = CommandLine::quote(argument);
        QCOMPARE(quoted == argument, plain);
        QCOMPARE(CommandLine::split("prog " + quoted), QStringList({"prog", argument}));
    }

    void runCommand_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<RunCommand::Kind>("kind");
        QTest::addColumn<QString>("program"); // relative to the fake desktop's root
        QTest::addColumn<QStringList>("arguments");
        using K = RunCommand::Kind;
        QTest::newRow("program on the PATH")
            << "tool -a 'b c'" << K::Start << "bin/tool" << QStringList{"-a", "b c"};
        QTest::newRow("program by its path")
            << "~/scripts/go.sh x" << K::Start << "home/scripts/go.sh" << QStringList{"x"};
        QTest::newRow("relative path from home")
            << "./scripts/go.sh" << K::Start << "home/scripts/go.sh" << QStringList{};
        QTest::newRow("script by bare name is not run")
            << "scripts" << K::Open << "home/scripts" << QStringList{};
        QTest::newRow("folder") << "~/scripts" << K::Open << "home/scripts" << QStringList{};
        QTest::newRow("document") << "~/\"My Letter.txt\"" << K::Open << "home/My Letter.txt"
                                  << QStringList{};
        QTest::newRow("document with arguments")
            << "'My Letter.txt' -p" << K::NotFound << "My Letter.txt" << QStringList{};
        QTest::newRow("not a program")
            << "notes.txt" << K::NotFound << "notes.txt" << QStringList{};
        QTest::newRow("not executable") << "plain" << K::NotFound << "plain" << QStringList{};
        QTest::newRow("open quote") << "tool 'x" << K::Unbalanced << "" << QStringList{};
        QTest::newRow("blank") << "   " << K::Nothing << "" << QStringList{};
    }
    void runCommand()
    {
        QFETCH(QString, line);
        QFETCH(RunCommand::Kind, kind);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        FakeDesktop fake;
        fake.addProgram("tool");
        fake.addProgram("plain", false);
        const QString root = QFileInfo(fake.bin()).path();
        const QString script = fake.write(root + "/home/scripts/go.sh", "#!/bin/sh\n");
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        fake.write(root + "/home/My Letter.txt", "Dear Anna");
        const RunCommand command = RunCommand::resolve(line, fake.environment(), root + "/home");
        QCOMPARE(command.kind, kind);
        const bool inTree = kind == RunCommand::Kind::Start || kind == RunCommand::Kind::Open;
        QCOMPARE(command.program, inTree ? root + '/' + program : program);
        QCOMPARE(command.arguments, arguments);
    }

    void historyAdd_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("first") << QStringList{} << "gedit" << QStringList{"gedit"};
        QTest::newRow("newest first") << QStringList{"a", "b"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("again moves to front")
            << QStringList{"a", "b", "c"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("trimmed") << QStringList{"a"} << "  a  " << QStringList{"a"};
        QTest::newRow("blank changes nothing") << QStringList{"a"} << "   " << QStringList{"a"};
        QTest::newRow("case matters")
            << QStringList{"Gedit"} << "gedit" << QStringList{"gedit", "Gedit"};
    }
    void historyAdd()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, command);
        QFETCH(QStringList, result);
        QCOMPARE(RunHistory::add(history, command), result);
    }

    void historyKeepsItsCapacity()
    {
        QStringList history;
        for (int i = 0; i < RunHistory::Capacity; ++i)
            history = RunHistory::add(history, QString::number(i));
        QCOMPARE(history.size(), RunHistory::Capacity);
        QCOMPARE(history.last(), QStringLiteral("0"));
        history = RunHistory::add(history, "new");
        QCOMPARE(history.size(), RunHistory::Capacity);
        QCOMPARE(history.first(), QStringLiteral("new"));
        QCOMPARE(history.last(), QStringLiteral("1"));
        // An old command used again is moved, so nothing else drops out.
        history = RunHistory::add(history, "1");
        QCOMPARE(history.size(), RunHistory::Capacity);
        QCOMPARE(history.last(), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
