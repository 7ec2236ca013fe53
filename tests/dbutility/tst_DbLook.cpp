// The record grid's look kept in the settings, colours as the favourites store them, the
// shipped colour schemes, and the facts and attributes of database files.

#include "ColorSchemes.h"
#include "FileFacts.h"
#include "GridLook.h"
#include "OleColor.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QPalette>
#include <QTest>

class tst_DbLook : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void unreadableSettingsGiveDefaults();
    void oleColours_data();
    void oleColours();
    void shippedSchemes();
    void fileFacts();
    void attributes_data();
    void attributes();
    void attributesOfAMissingFile();
};

void tst_DbLook::unreadableSettingsGiveDefaults()
{
    QHash<QString, QVariant> &settings = m_env->platform().settings;
    settings.insert("Nuvela Utilities/DBViewer/FontSize", QStringLiteral("huge"));
    settings.insert("Nuvela Utilities/DBViewer/LineStyle", QStringLiteral("Wavy"));
    settings.insert("Nuvela Utilities/DBViewer/ToolSize", 7);
    const GridLook look = GridLook::read();
    QCOMPARE(look.fontSize, 10);
    QCOMPARE(look.lineStyle, GridLook::LineStyle::Flat);
    QCOMPARE(look.toolSize, GridLook::ToolSize::Small);
}

void tst_DbLook::oleColours_data()
{
    QTest::addColumn<qint64>("ole");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red") << qint64(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("blue") << qint64(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("mixed") << qint64(0x563412) << QColor(0x12, 0x34, 0x56);
    QTest::newRow("light grey") << qint64(0xE0E0E0) << QColor(0xE0, 0xE0, 0xE0);
}

void tst_DbLook::oleColours()
{
    QFETCH(qint64, ole);
    QFETCH(QColor, color);
    const QPalette palette;
    QCOMPARE(OleColor::toColor(ole, palette), color);
    QCOMPARE(OleColor::fromColor(color), ole);
    QVERIFY(!OleColor::isSystem(ole));
}

void tst_DbLook::shippedSchemes()
{
    Store info(Store::Kind::Info);
    const QStringList names = ColorSchemes::names(info);
    QVERIFY(names.size() >= 8);
    QStringList once = names;
    QCOMPARE(once.removeDuplicates(), 0);
    for (const QString &name : names) {
        ColorSchemes::Scheme scheme;
        QVERIFY(ColorSchemes::scheme(info, name.toUpper(), &scheme));
        QCOMPARE(scheme.name, name);
        // Text must stand out from both backgrounds.
        const QPalette palette;
        const int text = OleColor::toColor(scheme.fontColor, palette).lightness();
        for (qint64 row : {scheme.row1Color, scheme.row2Color})
            QVERIFY2(qAbs(OleColor::toColor(row, palette).lightness() - text) > 100 ||
                         OleColor::isSystem(row),
                     qPrintable(name));
    }
    ColorSchemes::Scheme scheme;
    QVERIFY(ColorSchemes::scheme(info, QStringLiteral("System"), &scheme));
    QCOMPARE(scheme.fontColor, OleColor::SystemWindowText);
    QCOMPARE(scheme.row1Color, OleColor::SystemWindow);
    QVERIFY(!ColorSchemes::scheme(info, QStringLiteral("No such' scheme"), &scheme));
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::yellow);
    QCOMPARE(OleColor::toColor(OleColor::SystemWindow, palette), QColor(Qt::yellow));
}

void tst_DbLook::fileFacts()
{
    const QString path = m_env->writeFile(QStringLiteral("facts/table.csv"), QByteArray(3000, 'x'));
    QCOMPARE(FileFacts::sizeText(path, true), QStringLiteral("3000"));
    QCOMPARE(FileFacts::sizeText(path, false), QStringLiteral("3Kb"));
    QCOMPARE(FileFacts::createdText(path),
             QLocale::c().toString(QDate::currentDate(), QStringLiteral("dd-MMM-yyyy")));
    QVERIFY(!FileFacts::typeDescription(path).isEmpty());
    const QString missing = m_env->scratch() + QStringLiteral("/gone.dbf");
    QVERIFY(FileFacts::createdText(missing).isEmpty());
    QVERIFY(FileFacts::sizeText(missing, true).isEmpty());
    QVERIFY(FileFacts::typeDescription(missing).isEmpty());
}

void tst_DbLook::attributes_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<bool>("done");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("writable");
    QTest::newRow("hidden") << int(FileFacts::Hidden) << true
                            << int(FileFacts::Archive | FileFacts::Hidden) << true << true;
    QTest::newRow("read-only") << int(FileFacts::ReadOnly) << true
                               << int(FileFacts::Archive | FileFacts::ReadOnly) << false << false;
    QTest::newRow("archive") << int(FileFacts::Archive) << true << int(FileFacts::Archive) << false
                             << true;
    QTest::newRow("normal") << int(FileFacts::Normal) << true << int(FileFacts::Archive) << false
                            << true;
    QTest::newRow("system") << int(FileFacts::System) << false
                            << int(FileFacts::Archive | FileFacts::Hidden) << true << true;
}

void tst_DbLook::attributes()
{
    QFETCH(int, attribute);
    QFETCH(bool, done);
    QFETCH(int, after);
    QFETCH(bool, listed);
    QFETCH(bool, writable);
    const QString path = m_env->writeFile(QStringLiteral("attr/data.dbf"));
    const QString neighbour = m_env->writeFile(QStringLiteral("attr/keep.dbf"));
    const QString list = m_env->scratch() + QStringLiteral("/attr/.hidden");
    QVERIFY(WriteBytes(list, "keep.dbf\n"));
    QCOMPARE(FileFacts::attributes(path), int(FileFacts::Archive));
    // Start hidden and read-only, so every attribute has something to change.
    QVERIFY(FileFacts::setAttributes(path, FileFacts::Hidden));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QCOMPARE(FileFacts::attributes(path),
             int(FileFacts::Archive | FileFacts::Hidden | FileFacts::ReadOnly));
    QCOMPARE(FileFacts::setAttributes(path, attribute), done);
    if (!done)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(FileFacts::attributes(path), after);
    const QByteArray hidden = ReadBytes(list);
    QCOMPARE(hidden.split('\n').contains("data.dbf"), listed);
    QVERIFY(hidden.split('\n').contains("keep.dbf"));
    QCOMPARE(bool(QFile::permissions(path) & QFile::WriteOwner), writable);
    QVERIFY(QFileInfo::exists(neighbour));
}

void tst_DbLook::attributesOfAMissingFile()
{
    const QString missing = m_env->scratch() + QStringLiteral("/gone.dbf");
    QCOMPARE(FileFacts::attributes(missing), int(FileFacts::Normal));
    QVERIFY(!FileFacts::setAttributes(missing, FileFacts::Hidden));
    QVERIFY(!QFileInfo::exists(m_env->scratch() + QStringLiteral("/.hidden")));
    // A dot name stays hidden: it cannot be made an ordinary file here.
    const QString dotted = m_env->writeFile(QStringLiteral(".secret.dbf"));
    QCOMPARE(FileFacts::attributes(dotted), int(FileFacts::Archive | FileFacts::Hidden));
    QVERIFY(!FileFacts::setAttributes(dotted, FileFacts::Archive));
}

QTEST_MAIN(tst_DbLook)
#include "tst_DbLook.moc"
