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
        QTest::addColumn<QStringList>("words"); // {"(refused)"} when split refuses the text
        const QString noHome;
        const QString home = "/home/u";
        const QStringList refused{"(refused)"};
        QTest::newRow("blanks, tabs; single quotes literal")
            << " echo\t 'a \"b\" \\n $x'  " << noHome << QStringList{"echo", "a \"b\" \\n $x"};
        QTest::newRow("escapes inside double quotes")
            << "x \"a\\\"b\\\\c\\$d\\`e\\nf\"" << noHome << QStringList{"x", "a\"b\\c$d`e\\nf"};
        QTest::newRow("empty quoted words; quotes join a word")
            << "prog \"\" '' a\"b c\"'d'" << noHome << QStringList{"prog", "", "", "ab cd"};
        QTest::newRow("no shell operators")
            << "ls; rm -rf x | cat && y $(z)" << noHome
            << QStringList{"ls;", "rm", "-rf", "x", "|", "cat", "&&", "y", "$(z)"};
        QTest::newRow("tilde alone and with a slash")
            << "ls ~ ~/Music" << home << QStringList{"ls", home, home + "/Music"};
        QTest::newRow("tilde inside a word or quoted stays")
            << "ls a~ ~x '~' \"~/a\"" << home << QStringList{"ls", "a~", "~x", "~", "~/a"};
        QTest::newRow("tilde without home") << "ls ~/a" << noHome << QStringList{"ls", "~/a"};
        QTest::newRow("open double quote") << "gedit \"a b" << noHome << refused;
        QTest::newRow("open single quote") << "gedit 'a b" << noHome << refused;
        QTest::newRow("escaped closing quote") << "gedit \"a\\\"" << noHome << refused;
        QTest::newRow("lone trailing backslash") << "gedit a\\" << noHome << refused;
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QString, home);
        QFETCH(QStringList, words);
        QCOMPARE(CommandLine::split(text, home).value_or(QStringList{"(refused)"}), words);
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
        QTest::newRow("bare name is opened, not run")
            << "scripts" << K::Open << "home/scripts" << QStringList{};
        QTest::newRow("document") << "~/\"My Letter.txt\"" << K::Open << "home/My Letter.txt"
                                  << QStringList{};
        QTest::newRow("document with arguments")
            << "'My Letter.txt' -p" << K::NotFound << "My Letter.txt" << QStringList{};
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
        QStringList full; // "0" (newest) to "25"
        for (int i = 0; i < RunHistory::Capacity; ++i)
            full << QString::number(i);
        QTest::newRow("again, trimmed, moves to the front")
            << QStringList{"a", "b", "c"} << "  c  " << QStringList{"c", "a", "b"};
        QTest::newRow("blank changes nothing") << QStringList{"a"} << "   " << QStringList{"a"};
        QTest::newRow("full: the oldest drops out")
            << full << "new" << QStringList{"new"} + full.mid(0, RunHistory::Capacity - 1);
        QTest::newRow("full: used again drops nothing")
            << full << "25" << QStringList{"25"} + full.mid(0, RunHistory::Capacity - 1);
    }
    void historyAdd()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, command);
        QFETCH(QStringList, result);
        QCOMPARE(RunHistory::add(history, command), result);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
