// The values panel of the Database utility window as a user works it: values added, changed
// and removed for a field, filled from the choice catalogue's built-in and own kinds, and
// offered as the drop-down list of the field's column while records are edited.

#include "DbTestFiles.h"
#include "KeyedGrid.h"
#include "RecordGridDelegate.h"
#include "Screenshot.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "frmDblist.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
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

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void pick(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
}

void click(const QWidget &window, const QString &name)
{
    child<QPushButton>(window, name)->click();
}

} // namespace

class tst_frmDblistChoices : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_path;

    // people.dbf as a favourite with its records shown and the values panel open on NAME.
    void open(frmDblist &window);
    QStringList stored(const QString &field)
    {
        Store store(Store::Kind::Data);
        return store.column(QStringLiteral("select choices from favchoices where fieldname='%1' "
                                           "order by rowid")
                                .arg(field));
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void addEditAndRemoveValues();
    void fillFromTheCatalogue_data();
    void fillFromTheCatalogue();
    void choicesAreTheColumnsDropDown();
};

void tst_frmDblistChoices::open(frmDblist &window)
{
    m_path = MakePeopleDbf(m_env->scratch() + QStringLiteral("/people.dbf"),
                           {{"Ann", 30, {}, 1}, {"Bob", 41, {}, 0}});
    QVERIFY(window.AddFavourite(m_path));
    window.CmdNext_Click();
    child<QAction>(window, "ID_Values")->trigger();
    QVERIFY(!child<QFrame>(window, "frmValues")->isHidden());
    QCOMPARE(items(child<QListWidget>(window, "lstSFields")),
             (QStringList{"NAME", "AGE", "BORN", "ACTIVE", "NOTE"}));
    pick(child<QListWidget>(window, "lstSFields"), QStringLiteral("NAME"));
}

void tst_frmDblistChoices::addEditAndRemoveValues()
{
    frmDblist window;
    open(window);
    QListWidget *values = child<QListWidget>(window, "LstValue");
    QLineEdit *text = child<QLineEdit>(window, "TxtValue");
    QVERIFY(text->isReadOnly());
    QVERIFY(child<QPushButton>(window, "CmdSaveValue")->isHidden());
    const auto add = [&](const QString &value) {
        click(window, "CmdAddValue");
        QVERIFY(!text->isReadOnly());
        QVERIFY(text->text().isEmpty());
        text->setText(value);
        click(window, "CmdSaveValue");
        QVERIFY(text->isReadOnly());
    };
    add(QStringLiteral("Ann"));
    add(QStringLiteral("Bob"));
    add(QStringLiteral("Cleo"));
    add(QStringLiteral("bob")); // held already: nothing written
    QCOMPARE(items(values), (QStringList{"Ann", "Bob", "Cleo"}));
    QCOMPARE(stored(QStringLiteral("NAME")), (QStringList{"Ann", "Bob", "Cleo"}));
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Save.wav")));

    // Editing one value changes that row only.
    pick(values, QStringLiteral("Bob"));
    QCOMPARE(text->text(), QStringLiteral("Bob"));
    click(window, "CmdEditValue");
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Edit.wav")));
    text->setText(QStringLiteral("Robert"));
    click(window, "CmdSaveValue");
    QCOMPARE(stored(QStringLiteral("NAME")), (QStringList{"Ann", "Robert", "Cleo"}));
    // Cancel leaves the list as it was.
    click(window, "CmdAddValue");
    text->setText(QStringLiteral("never"));
    click(window, "CmdCancelValue");
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Cancel.wav")));
    QVERIFY(text->isReadOnly());
    QCOMPARE(items(values), (QStringList{"Ann", "Robert", "Cleo"}));

    // Each field keeps its own list.
    pick(child<QListWidget>(window, "lstSFields"), QStringLiteral("AGE"));
    QVERIFY(values->count() == 0);
    add(QStringLiteral("18"));
    pick(child<QListWidget>(window, "lstSFields"), QStringLiteral("NAME"));
    QCOMPARE(items(values), (QStringList{"Ann", "Robert", "Cleo"}));

    pick(values, QStringLiteral("Ann"));
    click(window, "CmdDelValue");
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Del.wav")));
    QCOMPARE(items(values), (QStringList{"Robert", "Cleo"}));
    Screenshot(window, "dblist-values");
    click(window, "SSCommand4");
    QVERIFY(values->count() == 0);
    QVERIFY(stored(QStringLiteral("NAME")).isEmpty());
    QCOMPARE(stored(QStringLiteral("AGE")), QStringList{"18"});
    // Removing from an empty list does nothing.
    click(window, "CmdDelValue");
    click(window, "SSCommand4");
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

void tst_frmDblistChoices::fillFromTheCatalogue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");

    QTest::newRow("built-in: zodiac signs") << "ZODIC-SIGN" << 12 << "Aries";
    QTest::newRow("own kind, its national rows") << "Sizes" << 2 << "small";
}

void tst_frmDblistChoices::fillFromTheCatalogue()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QString, first);
    {
        // An own kind reads the data store; its national column marks rows with 'C'.
        Store data(Store::Kind::Data);
        QVERIFY(data.exec(QStringLiteral("create table sizes (size text, here text)")));
        QVERIFY(data.exec(QStringLiteral("insert into sizes values ('small', 'C'), "
                                         "('huge', 'X'), ('medium', 'C')")));
        QVERIFY(data.exec(QStringLiteral("insert into cla_dbchoices values ('Sizes', 'sizes', "
                                         "'size', NULL, 'here')")));
    }
    frmDblist window;
    open(window);
    QListWidget *values = child<QListWidget>(window, "LstValue");
    QComboBox *kinds = child<QComboBox>(window, "cboChoiceKind");
    QCOMPARE(kinds->count(), 11);
    QVERIFY(child<QFrame>(window, "frmCatalogue")->isHidden());
    click(window, "cmdCatalogue");
    QVERIFY(!child<QFrame>(window, "frmCatalogue")->isHidden());
    kinds->setCurrentIndex(kinds->findText(kind));
    click(window, "SSCommand22");
    QVERIFY(child<QFrame>(window, "frmCatalogue")->isHidden());
    QCOMPARE(values->count(), count);
    QCOMPARE(values->item(0)->text(), first);
    QCOMPARE(stored(QStringLiteral("NAME")).size(), count);
    // Filling again replaces the list rather than adding to it.
    click(window, "cmdCatalogue");
    click(window, "SSCommand22");
    QCOMPARE(stored(QStringLiteral("NAME")).size(), count);
}

void tst_frmDblistChoices::choicesAreTheColumnsDropDown()
{
    frmDblist window;
    open(window);
    QLineEdit *text = child<QLineEdit>(window, "TxtValue");
    for (const char *value : {"Ann", "Bea", "Cleo"}) {
        click(window, "CmdAddValue");
        text->setText(QLatin1String(value));
        click(window, "CmdSaveValue");
    }
    KeyedGrid *grid = child<KeyedGrid>(window, "grdData");
    auto *delegate = qobject_cast<RecordGridDelegate *>(grid->itemDelegate());
    QVERIFY(delegate);
    child<QAction>(window, "ID_Edit")->trigger();
    const QModelIndex name = window.records()->index(1, 0);
    const QModelIndex age = window.records()->index(1, 1);
    grid->setCurrentIndex(name);
    grid->edit(name);
    auto *box = grid->viewport()->findChild<QComboBox *>(QStringLiteral("cboChoices"));
    QVERIFY(box);
    QVERIFY(box->isEditable());
    QCOMPARE(box->currentText(), QStringLiteral("Bob"));
    QStringList offered;
    for (int i = 0; i < box->count(); ++i)
        offered << box->itemText(i);
    QCOMPARE(offered, (QStringList{"Ann", "Bea", "Cleo"}));
    // A value not in the list can be typed as well.
    box->setCurrentText(QStringLiteral("Dora"));
    delegate->setModelData(box, window.records(), name);
    QCOMPARE(window.records()->data(name).toString(), QStringLiteral("Dora"));
    Screenshot(window, "dblist-dropdown");
    // A field without values is edited as plain text.
    QWidget *plain = delegate->createEditor(grid->viewport(), QStyleOptionViewItem(), age);
    QVERIFY(!qobject_cast<QComboBox *>(plain));
    delete plain;
    QVERIFY(window.finishEditing());
}

QTEST_MAIN(tst_frmDblistChoices)
#include "tst_frmDblistChoices.moc"
