#include "AppFolders.h"
#include "SharedRoutines.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolKeys.h"
#include "explModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlTableModel>
#include <QTest>

class TestRoutines : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void pathParts_data();
    void pathParts();
    void formatSizeText_data();
    void formatSizeText();
    void attributeText_data();
    void attributeText();
    void dateDisplay();
    void toolKeysAreCaseSensitive();
    void suiteCodes();
    void siblingProgramWithOrWithoutExe();
    void userFoldersAndSoundCues();
    void resourcesFallBackToTheExecutablesFolder();
    void fileDialogFilters_data();
    void fileDialogFilters();
    void deleteCurrentRecordAsksFirst();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestRoutines::pathParts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("wildcard");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("ext");
    QTest::newRow("two dots") << "/d/report.final.doc"
                              << "report.final.doc"
                              << "/d"
                              << "*.final.doc"
                              << "/d/report.final"
                              << "doc";
    QTest::newRow("dot file") << "/home/u/.profile"
                              << ".profile"
                              << "/home/u"
                              << "*.profile"
                              << "/home/u/"
                              << "profile";
    QTest::newRow("no separator") << "README"
                                  << "README"
                                  << "README"
                                  << ""
                                  << "README"
                                  << "";
    QTest::newRow("trailing separator") << "/a/b/"
                                        << ""
                                        << "/a/b"
                                        << ""
                                        << "/a/b/"
                                        << "";
}

void TestRoutines::pathParts()
{
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    QFETCH(QString, wildcard);
    QFETCH(QString, base);
    QFETCH(QString, ext);
    QCOMPARE(FileNameOfPath(path), fileName);
    QCOMPARE(FolderOfPath(path), folder);
    QCOMPARE(WildcardOf(FileNameOfPath(path)), wildcard);
    QCOMPARE(BaseName(path), base);
    QCOMPARE(Extension(path), ext);
}

void TestRoutines::formatSizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");
    const QString point = QLocale().decimalPoint();
    QTest::newRow("zero") << qint64(0) << "0Byte";
    QTest::newRow("512") << qint64(512) << "512Byte";
    QTest::newRow("1023") << qint64(1023) << "1023Byte";
    QTest::newRow("1024") << qint64(1024) << "1Kb";
    QTest::newRow("1536 ties to even up") << qint64(1536) << "2Kb";
    QTest::newRow("2560 ties to even down") << qint64(2560) << "2Kb";
    QTest::newRow("12Kb") << qint64(12 * 1024 + 100) << "12Kb";
    QTest::newRow("just under a megabyte") << qint64(1023 * 1024 + 511) << "1023Kb";
    QTest::newRow("rounds up to a megabyte") << qint64(1023 * 1024 + 513) << "1Mb";
    QTest::newRow("1Mb") << qint64(1024 * 1024) << "1Mb";
    QTest::newRow("1.5Mb") << qint64(1536 * 1024) << "1" + point + "5Mb";
    QTest::newRow("two decimals") << qint64(1260 * 1024) << "1" + point + "23Mb";
    // kb 1029: 1029/1024 = 1.0048828 -> 1; kb 1034: 1.00976 -> 1.01.
    QTest::newRow("hundredths round") << qint64(1034 * 1024) << "1" + point + "01Mb";
    QTest::newRow("no unit above Mb") << qint64(5) * 1024 * 1024 * 1024 << "5120Mb";
}

void TestRoutines::formatSizeText()
{
    QFETCH(qint64, size);
    QFETCH(QString, text);
    QCOMPARE(FormatSizeText(size), text);
}

void TestRoutines::attributeText_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("text");
    QTest::newRow("32") << 32 << "A";
    QTest::newRow("33") << 33 << "AR";
    QTest::newRow("34") << 34 << "AH";
    QTest::newRow("35") << 35 << "ARH";
    QTest::newRow("1") << 1 << "R";
    QTest::newRow("3") << 3 << "RH";
    QTest::newRow("2") << 2 << "H";
    QTest::newRow("48 exact values only") << 48 << "S";
    QTest::newRow("0") << 0 << "S";
    QTest::newRow("16 folder") << 16 << "S";
}

void TestRoutines::attributeText()
{
    QFETCH(int, bits);
    QFETCH(QString, text);
    QCOMPARE(AttributeText(bits), text);
}

void TestRoutines::dateDisplay()
{
    const QDate day(2026, 12, 4);
    QCOMPARE(MainDateText(day, true), QStringLiteral("04 Dec-2026"));
    QCOMPARE(MainDateText(day, false), QStringLiteral("Dec 04-2026"));
    QCOMPARE(FormatDate(day.startOfDay(), GridDateFormat(true)), QStringLiteral("04 Dec-26"));
    QCOMPARE(FormatDate(day.startOfDay(), GridDateFormat(false)), QStringLiteral("Dec 04-26"));
}

void TestRoutines::toolKeysAreCaseSensitive()
{
    for (const char *key : {"filemanager", "dbutility", "notebook", "form1"})
        QVERIFY2(ToolKeys::isOwnKey(QString::fromLatin1(key)), key);
    QCOMPARE(ToolKeys::caption(QStringLiteral("dbutility")), QStringLiteral("Database Utility"));
    for (const char *key : {"FileManager", " filemanager", "", "form4", "photoeditor"})
        QVERIFY2(!ToolKeys::isOwnKey(QString::fromLatin1(key)), key);
    QVERIFY(ToolKeys::isSiblingKey(QStringLiteral("freedb")));
    QVERIFY(!ToolKeys::isSiblingKey(QStringLiteral("Freedb")));
}

void TestRoutines::suiteCodes()
{
    QCOMPARE(SuiteCodes::find(QStringLiteral("Id"))->toolKey, QStringLiteral("important"));
    QVERIFY(!SuiteCodes::find(QStringLiteral("id")));
    QCOMPARE(SuiteCodes::find(QStringLiteral("Nd"))->toolKey, QStringLiteral("form5"));
    QCOMPARE(SuiteCodes::find(QStringLiteral("nd"))->toolKey, QStringLiteral("formnotes"));
    QCOMPARE(SuiteCodes::find(QStringLiteral("ct"))->toolKey, QString());
    QCOMPARE(SuiteCodes::find(QStringLiteral("Link"))->program,
             QStringLiteral("Nuvela Link & Sync.exe"));
    QCOMPARE(SuiteCodes::find(QStringLiteral("ed"))->program, QStringLiteral("Nuvela Photos.exe"));
    QCOMPARE(SuiteCodes::find(QStringLiteral("HI"))->toolKey, QStringLiteral("clothes"));
    QVERIFY(!SuiteCodes::find(QStringLiteral("db"))); // codes whose targets are not settled
    QCOMPARE(SuiteCodes::all().size(), 64);
}

void TestRoutines::siblingProgramWithOrWithoutExe()
{
    QCOMPARE(SiblingProgramPath(QStringLiteral("Nuvela Kids.exe")), QString());
    QFile bare(m_env->programFolder() + QStringLiteral("/Nuvela Kids"));
    QVERIFY(bare.open(QIODevice::WriteOnly));
    bare.close();
    QCOMPARE(QFileInfo(SiblingProgramPath(QStringLiteral("Nuvela Kids.exe"))).fileName(),
             QStringLiteral("Nuvela Kids"));
    QFile exe(m_env->programFolder() + QStringLiteral("/Nuvela Kids.exe"));
    QVERIFY(exe.open(QIODevice::WriteOnly));
    exe.close();
    QCOMPARE(QFileInfo(SiblingProgramPath(QStringLiteral("Nuvela Kids.exe"))).fileName(),
             QStringLiteral("Nuvela Kids.exe"));
    // A folder of that name is no program.
    QDir(m_env->programFolder()).mkdir(QStringLiteral("Nuvela Hobbies"));
    QCOMPARE(SiblingProgramPath(QStringLiteral("Nuvela Hobbies.exe")), QString());
}

void TestRoutines::userFoldersAndSoundCues()
{
    AppFolders::ensureUserFolders();
    for (const char *folder :
         {"Exported Files/rtf", "Photos", "Notes Diary", "Rename Folder", "NoteBook/List"})
        QVERIFY2(QFileInfo(m_env->userFiles() + '/' + QLatin1String(folder)).isDir(), folder);
    QCOMPARE(AppFolders::join(QStringLiteral("/p"), QStringLiteral("\\UserFiles\\Misc\\")),
             QDir::toNativeSeparators(QStringLiteral("/p/UserFiles/Misc/")));

    PlaySoundCue(SoundCue::Save);
    PlaySoundCue(QStringLiteral("/missing/file.wav"));
    QCOMPARE(m_env->platform().sounds.size(), 2);
    QVERIFY(m_env->platform().sounds.first().endsWith(
        QDir::toNativeSeparators(QStringLiteral("/UserFiles/Misc/sound/Save.wav"))));
    QCOMPARE(GetSpecialFolder(5), m_env->platform().folders.value(5));
    QCOMPARE(GetSpecialFolder(12345), QString());
}

void TestRoutines::resourcesFallBackToTheExecutablesFolder()
{
    const QString relative =
        QStringLiteral("UserFiles/probe-%1.txt").arg(QCoreApplication::applicationPid());
    const QString beside = QCoreApplication::applicationDirPath() + '/' + relative;
    QVERIFY(QDir().mkpath(QFileInfo(beside).absolutePath()));
    QFile file(beside);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(AppFolders::inProgramFolder(relative), QDir::toNativeSeparators(beside));
    // The program folder's own copy wins; stores never come from beside the executable.
    QVERIFY(QDir(m_env->programFolder()).mkpath(QStringLiteral("UserFiles")));
    QFile own(m_env->programFolder() + '/' + relative);
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.close();
    QVERIFY(AppFolders::inProgramFolder(relative).startsWith(
        QDir::toNativeSeparators(m_env->programFolder())));
    QVERIFY(
        AppFolders::dataStorePath().startsWith(QDir::toNativeSeparators(m_env->programFolder())));
    QFile::remove(beside);
}

void TestRoutines::fileDialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one") << "Access File|*.mdb"
                         << "Access File (*.mdb)";
    QTest::newRow("trailing blank") << "Foxpro File|*.dbf "
                                    << "Foxpro File (*.dbf)";
    QTest::newRow("two patterns in one") << "Text,CSV File|*.txt|*.csv"
                                         << "Text,CSV File (*.txt *.csv)";
    QTest::newRow("semicolons") << "Pictures|*.jpg;*.png"
                                << "Pictures (*.jpg *.png)";
}

void TestRoutines::fileDialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(Dialogs::qtFilter(filter), qt);
}

void TestRoutines::deleteCurrentRecordAsksFirst()
{
    Store store(Store::Kind::Data);
    QSqlTableModel model(nullptr, store.database());
    model.setTable(QStringLiteral("pda_Keyword1"));
    model.select();
    QVERIFY(!DeleteCurrentRecord(&model, 0)); // empty: nothing asked
    QVERIFY(m_env->dialogs().shown().isEmpty());

    QVERIFY(store.exec(QStringLiteral("insert into pda_Keyword1 (keyword) values ('a'), ('b')")));
    model.select();
    m_env->dialogs().answerQuestion(false);
    QVERIFY(!DeleteCurrentRecord(&model, 0));
    QCOMPARE(model.rowCount(), 2);
    m_env->dialogs().answerQuestion(true);
    QVERIFY(DeleteCurrentRecord(&model, 0));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(m_env->dialogs().shown().size(), 2);
    QCOMPARE(m_env->dialogs().shown().first().text, QStringLiteral("Delete the record ? "));
    QVERIFY(m_env->dialogs().shown().first().icon == Dialogs::Icon::Critical);
}

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_SharedRoutines.moc"
