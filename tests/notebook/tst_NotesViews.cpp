#include <QTest>
class tst_NotesViews : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(tst_NotesViews)
#include "tst_NotesViews.moc"
