#include <QTest>
class tst_NotebookFiles : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(tst_NotebookFiles)
#include "tst_NotebookFiles.moc"
