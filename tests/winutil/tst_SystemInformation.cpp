#include "FakeDesktop.h"
#include "SystemInformation.h"

#include <QRegularExpression>
#include <QTest>

// What the System Information window shows, read from a fake /proc where the machine differs.
class tst_SystemInformation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void processorModel_data()
    {
        QTest::addColumn<QByteArray>("cpuinfo");
        QTest::addColumn<QString>("model");
        QTest::newRow("x86: the first, simplified")
            << QByteArray("processor\t: 0\nmodel name\t: Core(TM)   i5\nmodel name\t: other\n")
            << "Core(TM) i5";
        QTest::newRow("old ARM") << QByteArray("processor\t: 0\nProcessor\t: ARMv7 rev 4\n")
                                 << "ARMv7 rev 4";
        QTest::newRow("empty model line skipped")
            << QByteArray("model name\t:\ncpu\t: POWER9\n") << "POWER9";
        QTest::newRow("none") << QByteArray("processor : 0\nBogoMIPS : 38.40\n") << "";
    }
    void processorModel()
    {
        QFETCH(QByteArray, cpuinfo);
        QFETCH(QString, model);
        QCOMPARE(SystemInformation::processorModel(cpuinfo), model);
    }

    void memory_data()
    {
        QTest::addColumn<QByteArray>("meminfo");
        QTest::addColumn<qint64>("total"); // bytes; -1 when nothing is known
        QTest::addColumn<qint64>("available");
        QTest::newRow("modern kernel")
            << QByteArray("MemTotal:  4 kB\nMemFree: 1 kB\nMemAvailable: 2 kB") << qint64(4096)
            << qint64(2048);
        QTest::newRow("no MemAvailable")
            << QByteArray("MemTotal: 4 kB\nMemFree: 1 kB\n") << qint64(4096) << qint64(1024);
        QTest::newRow("no total") << QByteArray("MemFree: 12 kB\n") << qint64(-1) << qint64(0);
        QTest::newRow("total not a number")
            << QByteArray("MemTotal: lots kB\n") << qint64(-1) << qint64(0);
    }
    void memory()
    {
        QFETCH(QByteArray, meminfo);
        QFETCH(qint64, total);
        QFETCH(qint64, available);
        const auto memory = SystemInformation::memory(meminfo);
        QCOMPARE(memory.has_value(), total >= 0);
        QCOMPARE(memory.value_or(SystemInformation::Memory{-1, 0}).total, total);
        QCOMPARE(memory.value_or(SystemInformation::Memory{-1, 0}).available, available);
    }

    void gather()
    {
        FakeDesktop fake("XFCE");
        fake.write("proc/cpuinfo", "model name : Test CPU 3000\n");
        fake.write("proc/meminfo", "MemTotal: 8388608 kB\nMemAvailable: 4194304 kB\n");
        const QString text = SystemInformation::text(
            SystemInformation::gather(fake.environment(), fake.bin() + "/../proc"));
        // The text of the sections in order: the fake /proc's values, the offscreen screen.
        const QRegularExpression layout(
            "^System\n.*  Desktop: XFCE.*\n\nProcessor\n  Model: Test CPU 3000\n.*\n\nMemory\n"
            "  Total: 8.0 GB\n  Available: 4.0 GB\n\nDisks\n.*\nScreens\n  .+: \\d+ x \\d+ pixels",
            QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(layout.match(text).hasMatch(), qPrintable(text));
        // Without /proc or desktop names nothing is made up.
        const QString bare = SystemInformation::text(
            SystemInformation::gather(FakeDesktop().environment(), fake.bin()));
        for (const char *line : {"  Desktop: (none)", "  Model: (unknown)", "  Total: (unknown)"})
            QVERIFY2(bare.contains(line), qPrintable(bare));
    }
};

QTEST_MAIN(tst_SystemInformation)
#include "tst_SystemInformation.moc"
