#include "ComboChoice.h"
#include "Form1.h"
#include "FrmSlider.h"
#include "HelpButton.h"
#include "RecordingToolHost.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

// The Conversions window driven as a user drives it.
class tst_Form1 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingToolHost> m_host;
    std::unique_ptr<Form1> m_form;

    template <typename T> T *child(const char *name) const
    {
        T *widget = m_form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qWarning("no control %s", name);
        return widget;
    }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }
    QComboBox *combo(const char *name) const { return child<QComboBox>(name); }
    QLabel *label(const char *name) const { return child<QLabel>(name); }
    QListWidget *lines(const char *name) const { return child<QListWidget>(name); }
    bool tool(const char *id) const
    {
        for (ToolStrip *strip : m_form->findChildren<ToolStrip *>()) {
            if (strip->trigger(QLatin1String(id)))
                return true;
        }
        return false;
    }
    QStringList texts(const char *list) const
    {
        QStringList out;
        for (int i = 0; i < lines(list)->count(); ++i)
            out << lines(list)->item(i)->text();
        return out;
    }
    // Shows and activates the window: only an activated window lists every target.
    void activate()
    {
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void convert(const QString &value, const QString &from, const QString &to)
    {
        edit("Text1")->setText(value);
        QVERIFY(chooseInList(combo("DBCombo2"), from));
        QVERIFY(chooseInList(combo("DBCombo3"), to));
    }
    ScriptedDialogs &dialogs() { return m_env->dialogs(); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_host = std::make_unique<RecordingToolHost>();
        m_form = std::make_unique<Form1>();
    }
    void cleanup()
    {
        m_form.reset();
        m_host.reset();
        m_env.reset();
    }

    void loadsReady()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Conversions"));
        QCOMPARE(m_host->caption, QStringLiteral("Conversion"));
        QCOMPARE(m_form->currentType(), QStringLiteral("Length"));
        QCOMPARE(label("lblTitle")->text(), QStringLiteral("Length"));
        QVERIFY(child<QRadioButton>("Option2")->isChecked());
        QVERIFY(child<QRadioButton>("OptionAll")->isChecked());
        QVERIFY(!child<QPushButton>("CmdAll")->isVisibleTo(m_form.get()));
        QVERIFY(!edit("txtrate")->isVisibleTo(m_form.get()));
        QVERIFY(!child<QWidget>("Framekeypad")->isVisibleTo(m_form.get()));
        auto *help = child<HelpButton>("CmdHelp");
        QVERIFY(help);
        QCOMPARE(help->code(), QStringLiteral("UTL005"));
    }

    void typeTools_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("unit"); // a unit the From list must offer
        QTest::newRow("length") << "length"
                                << "Length"
                                << "Length"
                                << "mile";
        QTest::newRow("area") << "area"
                              << "Area"
                              << "Area"
                              << "sq foot";
        QTest::newRow("land") << "land"
                              << "Land Area"
                              << "Land"
                              << "cent";
        QTest::newRow("volume") << "volume"
                                << "Volume"
                                << "Volume"
                                << "bushel";
        QTest::newRow("weight") << "weight"
                                << "Mass"
                                << "Weight/Mass"
                                << "Kg";
        QTest::newRow("pressure") << "pressure"
                                  << "Stress/Pressure"
                                  << "Stress/Pressure"
                                  << "atm";
        QTest::newRow("force") << "force"
                               << "Force"
                               << "Force"
                               << "kgf";
        QTest::newRow("liquids") << "liquids"
                                 << "Volume"
                                 << "Liquids/Volume"
                                 << "litre";
        QTest::newRow("speed") << "speed"
                               << "Speed"
                               << "Speed"
                               << "km/h";
        QTest::newRow("rdensity") << "rdensity"
                                  << "Relative Density"
                                  << "Relative Density"
                                  << "g/cm cube";
        QTest::newRow("capacity") << "capacity"
                                  << "Capacity"
                                  << "Capacity"
                                  << "cup";
        QTest::newRow("energy") << "energy"
                                << "Energy"
                                << "Energy"
                                << "btu";
        QTest::newRow("mass") << "mass"
                              << "Mass"
                              << "Mass"
                              << "gram";
    }
    void typeTools()
    {
        QFETCH(QString, id);
        QFETCH(QString, unit);
        // Leave a conversion behind: choosing a type clears it.
        convert("3", "mile", "km");
        QVERIFY(!label("Label6")->text().isEmpty());
        QVERIFY(tool(qPrintable(id)));
        QTEST(m_form->currentType(), "type");
        QTEST(label("lblTitle")->text(), "title");
        QVERIFY(edit("Text1")->text().isEmpty());
        QVERIFY(combo("DBCombo2")->currentText().isEmpty());
        QVERIFY(combo("DBCombo3")->currentText().isEmpty());
        QVERIFY(label("Label6")->text().isEmpty());
        QCOMPARE(lines("Label4")->count(), 0);
        // The pressed tool is the only one pressed.
        int pressed = 0;
        for (QAction *action : m_form->findChildren<QAction *>()) {
            if (action->isCheckable() && action->isChecked()) {
                ++pressed;
                QCOMPARE(action->objectName(), id);
            }
        }
        QCOMPARE(pressed, 1);
        QVERIFY2(openedItems(combo("DBCombo2")).contains(unit), qPrintable(unit));
        QCOMPARE(edit("txtrate")->isVisibleTo(m_form.get()), id == QLatin1String("land"));
        QCOMPARE(label("lblandarea")->isVisibleTo(m_form.get()), id == QLatin1String("land"));
    }

    void convertsAndListsEveryTarget()
    {
        activate();
        convert("12", "inch", "mm");
        // An exact definition shows exactly, in the line and in the listing.
        QCOMPARE(label("Label6")->text(), QStringLiteral("12 inch = 304.8  mm"));
        const QStringList listed = texts("Label4");
        QVERIFY2(listed.contains(QStringLiteral("mm     304.8")), qPrintable(listed.join('|')));
        QVERIFY(listed.contains(QStringLiteral("foot     1")));
        // More than 14 target rows: all are shown, none cut off with an error.
        QCOMPARE(listed.size(), openedItems(combo("DBCombo3")).size());
        QVERIFY(listed.size() > 14);
        QVERIFY(dialogs().messages().isEmpty());
    }

    void listsOnlyOnceActivated()
    {
        convert("3", "mile", "km");
        QCOMPARE(label("Label6")->text(), QStringLiteral("3 mile = 4.828032  km"));
        QCOMPARE(lines("Label4")->count(), 0);
    }

    void missingRateGivesZero()
    {
        edit("Text1")->setText("3");
        QVERIFY(chooseInList(combo("DBCombo2"), "mile"));
        // A unit of another type has no row from "mile".
        typeInList(combo("DBCombo3"), "Kg");
        QCOMPARE(label("Label6")->text(), QStringLiteral("3 mile = 0  Kg"));
    }

    void convertChecks_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank From") << "3"
                                    << " "
                                    << "From Unit cannot be left blank.";
        QTest::newRow("blank value") << "  "
                                     << "mile"
                                     << "Value cannot be left blank";
    }
    void convertChecks()
    {
        QFETCH(QString, value);
        QFETCH(QString, from);
        QFETCH(QString, message);
        activate();
        edit("Text1")->setText(value);
        combo("DBCombo2")->setEditText(from);
        typeInList(combo("DBCombo3"), "km");
        QCOMPARE(dialogs().messages(), QStringList{message});
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Nuvela Suite"));
        QCOMPARE(dialogs().shown().first().icon, Dialogs::Icon::Warning);
        QVERIFY(label("Label6")->text().isEmpty());
        QCOMPARE(lines("Label4")->count(), 0);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus == edit("Text1") || (focus && focus->parentWidget() == combo("DBCombo2")) ||
                focus == combo("DBCombo2"));
        QCOMPARE(focus == edit("Text1"), value.trimmed().isEmpty() && !from.trimmed().isEmpty());
    }

    void commonAndAllChoices()
    {
        const QStringList all = openedItems(combo("DBCombo2"));
        QVERIFY(all.contains("angstrom"));
        QVERIFY(chooseInList(combo("DBCombo2"), "angstrom"));
        QVERIFY(tool("Common"));
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        // The unit already chosen stays; the list changes when it is filled next.
        QCOMPARE(combo("DBCombo2")->currentText(), QStringLiteral("angstrom"));
        const QStringList common = openedItems(combo("DBCombo2"));
        QVERIFY(!common.contains("angstrom") && common.contains("mile"));
        QVERIFY(common.size() < all.size());
        QCOMPARE(combo("DBCombo2")->currentText(), QStringLiteral("angstrom"));
        child<QRadioButton>("OptionMetric")->click();
        const QStringList commonMetric = openedItems(combo("DBCombo2"));
        QVERIFY(!commonMetric.contains("mile") && commonMetric.contains("km"));
        QVERIFY(tool("UAll"));
        QVERIFY(child<QRadioButton>("Option2")->isChecked());
        const QStringList metric = openedItems(combo("DBCombo2"));
        QVERIFY(metric.contains("angstrom") && !metric.contains("mile"));
        // The To list follows the same choices.
        QVERIFY(chooseInList(combo("DBCombo2"), "metre"));
        QVERIFY(!openedItems(combo("DBCombo3")).contains("inch"));
    }

    void commonListingUsesSixSpaces()
    {
        activate();
        child<QRadioButton>("Option1")->click();
        convert("1", "metre", "km");
        const QStringList listed = texts("Label4");
        QVERIFY2(listed.contains(QStringLiteral("km      0.001")), qPrintable(listed.join('|')));
        QVERIFY(!listed.join('|').contains("angstrom"));
        // The Common listing writes no rate lines.
        QCOMPARE(lines("Label26")->count(), 0);
    }

    void landPricePerUnit()
    {
        activate();
        QVERIFY(tool("land"));
        edit("txtrate")->setText("5000");
        convert("2", "acre", "cent");
        QCOMPARE(label("Label6")->text(), QStringLiteral("2 acre = 200  cent"));
        QCOMPARE(label("lblandarea")->text(), QStringLiteral("Rate per cent = 50"));
        const QStringList rates = texts("Label26");
        QVERIFY2(rates.contains(QStringLiteral("Rate per cent = 50")), qPrintable(rates.join('|')));
        QVERIFY(rates.contains(QStringLiteral("Rate per acre = 5000")));
    }

    void landValueZeroStopsListing()
    {
        activate();
        QVERIFY(tool("land"));
        edit("txtrate")->setText("5000");
        edit("Text1")->setText("0");
        QVERIFY(chooseInList(combo("DBCombo2"), "acre"));
        QVERIFY(chooseInList(combo("DBCombo3"), "cent"));
        // A result of 0 leaves the rate line unwritten and ends the listing at its first row.
        QCOMPARE(label("Label6")->text(), QStringLiteral("0 acre = 0  cent"));
        QVERIFY(label("lblandarea")->text().isEmpty());
        QCOMPARE(dialogs().messages(), QStringList{QStringLiteral("Division by zero")});
        QCOMPARE(lines("Label4")->count(), 1);
    }

    void allModeAcrossTypes()
    {
        QVERIFY(tool("area"));
        QVERIFY(tool("ALL"));
        QVERIFY(m_form->allMode());
        QVERIFY(!child<QGroupBox>("FrameShowUnit")->isVisibleTo(m_form.get()));
        QVERIFY(!combo("DBCombo3")->isEnabled());
        QCOMPARE(combo("DBCombo3")->currentText(), QStringLiteral("ALL"));
        auto *convertAll = child<QPushButton>("CmdAll");
        QVERIFY(convertAll->isVisibleTo(m_form.get()));

        convertAll->click(); // no value yet
        QCOMPARE(dialogs().messages(), QStringList{QStringLiteral("Value cannot be left blank")});
        edit("Text1")->setText("1");
        QVERIFY(chooseInList(combo("DBCombo2"), "acre"));
        convertAll->click();
        const QStringList listed = texts("Label4");
        // Rows of Land Area and of Area alike.
        QVERIFY2(listed.contains(QStringLiteral("cent     100")), qPrintable(listed.join('|')));
        QVERIFY(listed.contains(QStringLiteral("sq inch     6272640")));
        QVERIFY(listed.size() > 14);

        // Any other tool leaves ALL mode.
        QVERIFY(tool("Square"));
        QVERIFY(!m_form->allMode());
        QVERIFY(!child<QGroupBox>("FrameShowUnit")->isHidden());
        QVERIFY(combo("DBCombo3")->isEnabled());
        QVERIFY(combo("DBCombo3")->currentText().isEmpty());
        QVERIFY(convertAll->isHidden());
    }

    void refreshClearsEverything()
    {
        activate();
        QVERIFY(tool("land"));
        edit("txtrate")->setText("100");
        convert("2", "acre", "cent");
        QVERIFY(lines("Label26")->count() > 0);
        child<QPushButton>("CmdRefresh")->click();
        QVERIFY(edit("Text1")->text().isEmpty());
        QVERIFY(edit("txtrate")->text().isEmpty());
        QVERIFY(combo("DBCombo2")->currentText().isEmpty());
        QVERIFY(combo("DBCombo3")->currentText().isEmpty());
        QVERIFY(label("Label6")->text().isEmpty());
        QVERIFY(label("lblandarea")->text().isEmpty());
        QCOMPARE(lines("Label4")->count(), 0);
        QCOMPARE(lines("Label26")->count(), 0);
    }

    void failingListingShowsError()
    {
        {
            Store info(Store::Kind::Info);
            QVERIFY(info.exec(QStringLiteral("drop table NV_CONVERSION")));
        }
        m_form = std::make_unique<Form1>();
        activate();
        edit("Text1")->setText("3");
        combo("DBCombo2")->setEditText("mile");
        typeInList(combo("DBCombo3"), "km");
        QCOMPARE(label("Label6")->text(), QStringLiteral("3 mile = 0  km"));
        QCOMPARE(dialogs().messages().size(), 1);
        QVERIFY2(dialogs().messages().first().contains("NV_CONVERSION", Qt::CaseInsensitive),
                 qPrintable(dialogs().messages().first()));
    }

    void keypad()
    {
        activate();
        auto *pad = child<QWidget>("Framekeypad");
        edit("Text1")->setFocus();
        QVERIFY(pad->isVisible());
        const QPoint below =
            edit("Text1")->mapTo(pad->parentWidget(), QPoint(0, edit("Text1")->height()));
        QCOMPARE(pad->pos(), below);
        const auto key = [this](const QString &caption) {
            for (QPushButton *button : m_form->findChildren<QPushButton *>("Command9")) {
                if (button->text() == caption) {
                    button->click();
                    return true;
                }
            }
            return false;
        };
        QVERIFY(key("1") && key("2") && key(".") && key("5"));
        QCOMPARE(edit("Text1")->text(), QStringLiteral("12.5"));
        QVERIFY(edit("Text1")->hasFocus()); // keys do not take the focus
        child<QPushButton>("CmdCancel")->click();
        QVERIFY(edit("Text1")->text().isEmpty());
        QVERIFY(m_env->platform().sounds.last().endsWith("Cancel.wav", Qt::CaseInsensitive));
        child<QPushButton>("cmdok")->click();
        QVERIFY(m_env->platform().sounds.last().endsWith("Save.wav", Qt::CaseInsensitive));

        // The geometry inputs use the same keypad.
        QVERIFY(tool("Circle"));
        edit("Text4")->setFocus();
        QVERIFY(pad->isVisible());
        QVERIFY(key("7"));
        QCOMPARE(edit("Text4")->text(), QStringLiteral("7"));
        QVERIFY(edit("Text1")->text().isEmpty());
    }

    void closing_data()
    {
        QTest::addColumn<int>("how"); // 0 Esc, 1 Exit tool, 2 close
        QTest::newRow("Esc") << 0;
        QTest::newRow("Exit tool") << 1;
        QTest::newRow("close") << 2;
    }
    void closing()
    {
        QFETCH(int, how);
        activate();
        if (how == 0)
            QTest::keyClick(edit("Text1"), Qt::Key_Escape);
        else if (how == 1)
            QVERIFY(tool("ID_Exit"));
        else
            m_form->close();
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_env->platform().exits, 1);
    }

    void insideTheFrame()
    {
        // As the main window shows it: a sub-window, activated as such.
        QMdiArea area;
        auto *form = new Form1;
        QMdiSubWindow *sub = area.addSubWindow(form);
        area.show();
        QApplication::setActiveWindow(&area);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        area.setActiveSubWindow(sub);
        form->findChild<QLineEdit *>("Text1")->setText("1");
        QVERIFY(chooseInList(form->findChild<QComboBox *>("DBCombo2"), "yard"));
        QVERIFY(chooseInList(form->findChild<QComboBox *>("DBCombo3"), "foot"));
        auto *listed = form->findChild<QListWidget *>("Label4");
        QVERIFY(listed->count() > 0);
        QTest::keyClick(form->findChild<QLineEdit *>("Text1"), Qt::Key_Escape);
        QVERIFY(!sub->isVisible());
        QCOMPARE(m_env->platform().exits, 1);
    }

    void sliderToolOpensModalWindow()
    {
        QVERIFY(tool("slider"));
        auto *slider = m_form->findChild<FrmSlider *>();
        QVERIFY(slider);
        QVERIFY(slider->isWindow());
        QCOMPARE(slider->windowModality(), Qt::ApplicationModal);
        QVERIFY(slider->isVisible());
    }

    void circleAndBlankUnit()
    {
        QVERIFY(tool("Circle"));
        QCOMPARE(label("lblCalcGroup")->text(), QStringLiteral("Calculation of Area"));
        QVERIFY(child<QWidget>("FrameCircle")->isVisibleTo(m_form.get()));
        edit("Text4")->setText("2");
        QVERIFY(chooseInList(combo("DBCircleRslt"), "sq metre"));
        QCOMPARE(dialogs().messages(), QStringList{QStringLiteral("Unit is blank. Select a unit")});
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Nuvela Suite"));
        QVERIFY(label("lblCalcResult")->text().isEmpty());
        QVERIFY(chooseInList(combo("DBCombo7"), "metre"));
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Area of the circle is 3.14 sq metre"));
        QVERIFY(chooseInList(combo("Combo1"), "Radius"));
        QVERIFY(chooseInList(combo("DBCircleRslt"), "sq metre"));
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Area of the circle is 12.56 sq metre"));
    }

    void squareStartsWithAllUnits()
    {
        QVERIFY(tool("Square"));
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Area of Square"));
        QCOMPARE(combo("DBCombo6")->currentText(), QStringLiteral("All"));
        QVERIFY(!edit("Text3")->isVisibleTo(m_form.get()));
        edit("Text2")->setText("10");
        QVERIFY(chooseInList(combo("DBCombo4"), "foot"));
        const QStringList listed = texts("lstCalcLines");
        QVERIFY(listed.size() <= 13 && listed.size() >= 10);
        QVERIFY2(listed.contains(QStringLiteral("9.2903 sq metre")), qPrintable(listed.join('|')));
        QVERIFY(label("lblCalcResult")->text().isEmpty());

        QVERIFY(tool("Rectangle"));
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Area of Rectangle"));
        QVERIFY(edit("Text3")->isVisibleTo(m_form.get()));
        edit("Text3")->setText("2");
        QVERIFY(chooseInList(combo("DBCombo6"), "sq foot"));
        // The second side has no unit yet: taken as metres.
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Area of the Square =65.6167979 sq foot"));
        QVERIFY(chooseInList(combo("DBCombo5"), "foot"));
        QCOMPARE(label("lblCalcResult")->text(), QStringLiteral("Area of the Square =20 sq foot"));
    }

    void sphereWeight()
    {
        QVERIFY(tool("WeightSphere"));
        QCOMPARE(label("lblCalcGroup")->text(), QStringLiteral("Calculation of Weight"));
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Weight Of Sphere"));
        QVERIFY(combo("DBComboWt")->isVisibleTo(m_form.get()));
        edit("TxtSphere")->setText("1");
        QVERIFY(chooseInList(combo("ComboSphere"), "Radius"));
        QCOMPARE(dialogs().messages(),
                 QStringList{QStringLiteral("Unit cannot be blank. Select a unit")});
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Nuvela Conversion"));
        QVERIFY(chooseInList(combo("DBComboWt"), "Water (4 degrees)"));
        QVERIFY(chooseInList(combo("DBCSphUnit"), "metre"));
        QVERIFY(chooseInList(combo("DBCSphere"), "cu metre"));
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Volume of the sphere is 4.186666667 cu metre "));
        QCOMPARE(label("lblWeight")->text(), QStringLiteral("Weight of the sphere=4186.666667 Kg"));

        // The same shape in volume mode hides the material and the weight.
        QVERIFY(tool("Sphere"));
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Volume Of Sphere"));
        QVERIFY(!combo("DBComboWt")->isVisibleTo(m_form.get()));
        QVERIFY(!label("lblWeight")->isVisibleTo(m_form.get()));
    }

    void cylinderInLitresAndRefresh()
    {
        QVERIFY(tool("WeightCylinder"));
        child<QRadioButton>("Optcube")->click(); // options switch the shape within the mode
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Weight Of Cube"));
        child<QRadioButton>("Optcylinder")->click();
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Weight Of Cylinder"));
        edit("txtcylinder")->setText("20");
        QVERIFY(chooseInList(combo("DBCCylinder"), "cm"));
        edit("txtrdcyli")->setText("1");
        QVERIFY(chooseInList(combo("DBComboWt"), "Steel"));
        QVERIFY(chooseInList(combo("DBCyRDunit"), "metre"));
        QVERIFY(chooseInList(combo("DBCyResult"), "litre"));
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Volume of the Cylinder is 31.4 litre"));
        QCOMPARE(label("lblWeight")->text(), QStringLiteral("Weight of the cylinder=246.49 Kg"));

        child<QPushButton>("cmdrefresh1")->click();
        QVERIFY(edit("txtcylinder")->text().isEmpty());
        QVERIFY(edit("txtrdcyli")->text().isEmpty());
        for (const char *result :
             {"DBCombo6", "DBCircleRslt", "DBCombo11", "DBCyResult", "DBCSphere"})
            QCOMPARE(combo(result)->currentText(), QStringLiteral("All"));
        QVERIFY(label("lblCalcResult")->text().isEmpty());
        QVERIFY(label("lblWeight")->text().isEmpty());
        QCOMPARE(lines("lstCalcLines")->count(), 0);
    }

    void boxFromThirdSide()
    {
        QVERIFY(tool("Cube"));
        QCOMPARE(label("lblCalcGroup")->text(), QStringLiteral("Calculation of Volume"));
        QCOMPARE(label("lblPanelTitle")->text(), QStringLiteral("Volume of Cube"));
        edit("Text5")->setText("1");
        edit("Text6")->setText("50");
        edit("Text7")->setText("2");
        QVERIFY(chooseInList(combo("DBCombo8"), "metre"));
        QVERIFY(chooseInList(combo("DBCombo9"), "cm"));
        QVERIFY(chooseInList(combo("DBCombo11"), "cu metre"));
        // The third side has no unit yet: taken as metres.
        QCOMPARE(label("lblCalcResult")->text(), QStringLiteral("Volume of the Cube =1 cu metre"));
        QVERIFY(chooseInList(combo("DBCombo10"), "foot"));
        QCOMPARE(label("lblCalcResult")->text(),
                 QStringLiteral("Volume of the Cube =0.3048 cu metre"));
    }
};

QTEST_MAIN(tst_Form1)
#include "tst_Form1.moc"
