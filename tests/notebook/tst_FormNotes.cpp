#include <QTest>
class tst_FormNotes : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(tst_FormNotes)
#include "tst_FormNotes.moc"
