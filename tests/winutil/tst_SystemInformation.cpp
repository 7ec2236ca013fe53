#include "FakeDesktop.h"
#include "SystemInformation.h"

#include <QGuiApplication>
#include <QTest>

// What the System Information window shows, read from a fake /proc where the machine differs.
class tst_SystemInformation : public QObject
{
    Q_OBJECT

    static QString row(const QList<SystemInformation::Section> &sections, const QString &title,
                       const QString &label)
    {
        for (const auto &section : sections) {
            if (section.title != title)
                continue;
            for (const auto &[l, value] : section.rows) {
                if (l == label)
                    return value;
            }
        }
        return QStringLiteral("(missing)");
    }

private Q_SLOTS:
    void processorModel_data()
    {
        QTest::addColumn<QByteArray>("cpuinfo");
        QTest::addColumn<QString>("model");
        QTest::newRow("x86") << QByteArray("processor\t: 0\nvendor_id\t: GenuineIntel\n"
                                           "model name\t: Intel(R) Core(TM)   i5-8250U CPU\n"
                                           "processor\t: 1\nmodel name\t: other\n")
                             << "Intel(R) Core(TM) i5-8250U CPU";
        QTest::newRow("old ARM") << QByteArray("Processor\t: ARMv7 Processor rev 4 (v7l)\n"
                                               "processor\t: 0\n")
                                 << "ARMv7 Processor rev 4 (v7l)";
        QTest::newRow("MIPS") << QByteArray("system type : X\ncpu model : MIPS 24Kc V7.4\n")
                              << "MIPS 24Kc V7.4";
        QTest::newRow("empty model line skipped")
            << QByteArray("model name\t:\ncpu\t: POWER9\n") << "POWER9";
        QTest::newRow("none") << QByteArray("processor : 0\nBogoMIPS : 38.40\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
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
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("available");
        QTest::newRow("modern kernel")
            << QByteArray("MemTotal:       16303412 kB\nMemFree:  1000 kB\n"
                          "MemAvailable:   10000000 kB\n")
            << qint64(16303412) * 1024 << qint64(10000000) * 1024;
        QTest::newRow("no MemAvailable") << QByteArray("MemTotal: 2048 kB\nMemFree: 512 kB\n")
                                         << qint64(2048 * 1024) << qint64(512 * 1024);
        QTest::newRow("total only") << QByteArray("MemTotal: 1 kB\n") << qint64(1024) << qint64(0);
    }
    void memory()
    {
        QFETCH(QByteArray, meminfo);
        QFETCH(qint64, total);
        QFETCH(qint64, available);
        const auto memory = SystemInformation::memory(meminfo);
        QVERIFY(memory);
        QCOMPARE(memory->total, total);
        QCOMPARE(memory->available, available);
    }

    void memoryWithoutTotal()
    {
        QVERIFY(!SystemInformation::memory("MemFree: 12 kB\n"));
        QVERIFY(!SystemInformation::memory("MemTotal: lots kB\n"));
        QVERIFY(!SystemInformation::memory(QByteArray()));
    }

    void gatherReadsProc()
    {
        FakeDesktop fake("XFCE");
        fake.write("proc/cpuinfo", "model name : Test CPU 3000\n");
        fake.write("proc/meminfo", "MemTotal: 8388608 kB\nMemAvailable: 4194304 kB\n");
        const auto sections =
            SystemInformation::gather(fake.environment(), fake.bin() + "/../proc");
        QStringList titles;
        for (const auto &section : sections)
            titles << section.title;
        QCOMPARE(titles, QStringList({"System", "Processor", "Memory", "Disks", "Screens"}));
        QCOMPARE(row(sections, "Processor", "Model"), QStringLiteral("Test CPU 3000"));
        QCOMPARE(row(sections, "Memory", "Total"), QStringLiteral("8.0 GB"));
        QCOMPARE(row(sections, "Memory", "Available"), QStringLiteral("4.0 GB"));
        QVERIFY(row(sections, "System", "Desktop").startsWith("XFCE"));
        QVERIFY(row(sections, "System", "Kernel")
                    .startsWith(QSysInfo::kernelType(), Qt::CaseInsensitive));
        QVERIFY(!row(sections, "System", "Operating system").isEmpty());
        // The offscreen platform has one screen.
        QCOMPARE(sections.last().rows.size(), QGuiApplication::screens().size());
    }

    void gatherWithoutProc()
    {
        FakeDesktop fake;
        const auto sections = SystemInformation::gather(fake.environment(), fake.bin() + "/none");
        QCOMPARE(row(sections, "Processor", "Model"), QStringLiteral("(unknown)"));
        QCOMPARE(row(sections, "Memory", "Total"), QStringLiteral("(unknown)"));
        QCOMPARE(row(sections, "System", "Desktop"), QStringLiteral("(none)"));
    }

    void text()
    {
        const QString text = SystemInformation::text(
            {{"System", {{"Kernel", "Linux 6.1"}, {"Desktop", "GNOME"}}}, {"Disks", {}}});
        QCOMPARE(text, QStringLiteral("System\n  Kernel: Linux 6.1\n  Desktop: GNOME\n\nDisks\n"));
    }
};

QTEST_MAIN(tst_SystemInformation)
#include "tst_SystemInformation.moc"
