// The scan panel of the Database utility window: it starts at the documents folder, finds the
// databases of the folder chosen, shows them among the favourites and says what it did; a
// second scan adds nothing twice.

#include "DbTestFiles.h"
#include "FrmScan.h"
#include "KeyedGrid.h"
#include "Screenshot.h"
#include "TestEnvironment.h"
#include "frmDblist.h"

#include <QAction>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace
{

template <typename T> T *child(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

} // namespace

class tst_frmDblistScan : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void scanTwice();
};

void tst_frmDblistScan::scanTwice()
{
    const QString documents = m_env->scratch() + QStringLiteral("/Documents");
    QDir(documents).mkpath(QStringLiteral("data/old"));
    MakePeopleDbf(documents + QStringLiteral("/data/people.dbf"), {{"Ann", 1, {}, 1}});
    MakePeopleDbf(documents + QStringLiteral("/data/old/renamed.mdb"), {});
    MakeSqliteFile(documents + QStringLiteral("/data/app.db"));
    MakeUnkeyedParadox(documents + QStringLiteral("/data/old/loose.db"), {});
    WriteBytes(documents + QStringLiteral("/data/notes.dbf"), "name,age\nAnn,30\n");
    m_env->platform().folders.insert(5, documents);

    frmDblist window;
    child<QAction>(window, "ScanDatabase")->trigger();
    FrmScan *scan = child<FrmScan>(window, "FrmScan");
    QVERIFY(scan->isVisibleTo(&window));
    QCOMPARE(scan->folder(), documents);
    QVERIFY(child<QProgressBar>(window, "pb1")->isHidden());
    Screenshot(window, "dblist-scan");

    child<QPushButton>(window, "CmdScan")->click();
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{QStringLiteral("4 database files found in %1: 4 added to the favourites.")
                             .arg(documents)});
    QVERIFY(!scan->isVisibleTo(&window));
    QVERIFY(child<QProgressBar>(window, "pb1")->isHidden());
    KeyedGridModel *favourites = child<KeyedGrid>(window, "grdFavData")->grid();
    QMap<QString, QString> types;
    for (int row = favourites->fixedRows(); row < favourites->rows(); ++row)
        types.insert(favourites->text(row, QStringLiteral("Name")),
                     favourites->text(row, QStringLiteral("dbtype")));
    QCOMPARE(types, (QMap<QString, QString>{{"app.db", "SQLite"},
                                            {"loose.db", "Paradox 5.x;"},
                                            {"people.dbf", "dBASE 5.0;"},
                                            {"renamed.mdb", "dBASE 5.0;"}}));

    child<QAction>(window, "ScanDatabase")->trigger();
    child<QPushButton>(window, "CmdScan")->click();
    QCOMPARE(m_env->dialogs().messages().last(),
             QStringLiteral("4 database files found in %1: 0 added to the favourites, 4 skipped "
                            "as already among them.")
                 .arg(documents));
    QCOMPARE(favourites->dataRows(), 4);
    child<QAction>(window, "ScanDatabase")->trigger();
    child<QPushButton>(window, "CmdScanClose")->click();
    QVERIFY(!scan->isVisibleTo(&window));
    QCOMPARE(m_env->dialogs().messages().size(), 2);
}

QTEST_MAIN(tst_frmDblistScan)
#include "tst_frmDblistScan.moc"
