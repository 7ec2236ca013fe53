#include "ComboChoice.h"
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
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>

// The quick-conversion window driven as a user drives it.
class tst_FrmSlider : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingToolHost> m_host;
    std::unique_ptr<FrmSlider> m_form;

    template <typename T> T *child(const QString &name) const
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }
    QString text(const QString &label) const { return child<QLabel>(label)->text(); }
    QSlider *slider(const QString &name) const { return child<QSlider>(name); }
    bool tool(const QString &id) const
    {
        return child<ToolStrip>("SSActiveToolBars1")->trigger(id);
    }
    int twips(int value) const { return value * m_form->logicalDpiY() / 1440; }
    // Moves a slider as a drag does.
    static void drag(QSlider *s, int value) { s->setSliderPosition(value); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_host = std::make_unique<RecordingToolHost>();
        m_form = std::make_unique<FrmSlider>();
    }
    void cleanup()
    {
        m_form.reset();
        m_host.reset();
        QVERIFY(m_env->dialogs().shown().isEmpty());
        m_env.reset();
    }

    void loadsReady()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quick Conversions"));
        QCOMPARE(m_host->caption, QStringLiteral("Conversion"));
        QCOMPARE(text("Labelf"), QStringLiteral("32"));
        QCOMPARE(child<QPushButton>("SSCommand1")->text(), QStringLiteral("Custom"));
        QVERIFY(child<QGroupBox>("Frame2")->isHidden());
        QCOMPARE(m_form->height(), twips(6860));
        QVERIFY(openedItems(child<QComboBox>("DBCombo3")).contains("Temperature"));
        QCOMPARE(child<HelpButton>("CmdHelp")->code(), QStringLiteral("UTL0063"));
    }

    void fixedSliders_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("resultText");
        QTest::newRow("100 C") << "Slidercf" << 100 << "Labelc"
                               << "Labelf"
                               << "212";
        QTest::newRow("0 C") << "Slidercf" << 0 << "Labelc"
                             << "Labelf"
                             << "32";
        QTest::newRow("below freezing") << "Slidercf" << -40 << "Labelc"
                                        << "Labelf"
                                        << "-40";
        QTest::newRow("3 miles") << "Sliderkm" << 3 << "Labelmile"
                                 << "Labelkm"
                                 << "4.828";
        QTest::newRow("10 sq ft") << "Slider5" << 10 << "Labelsqft"
                                  << "Labelsqmt"
                                  << "0.929";
        QTest::newRow("no thousands separator") << "Slider5" << 10000 << "Labelsqft"
                                                << "Labelsqmt"
                                                << "929.03";
        QTest::newRow("7 kg") << "Sliderkg" << 7 << "Labelkg"
                              << "Labellb"
                              << "15.435";
    }
    void fixedSliders()
    {
        QFETCH(QString, slider);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QFETCH(QString, result);
        drag(this->slider(slider), value);
        QCOMPARE(text(shown), QString::number(value));
        QTEST(text(result), "resultText");
    }

    void stepButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("step");
        QTest::newRow("Command1") << "Command1"
                                  << "Sliderkm" << 1;
        QTest::newRow("Command2") << "Command2"
                                  << "Sliderkm" << -1;
        QTest::newRow("Command3") << "Command3"
                                  << "Sliderkg" << 1;
        QTest::newRow("Command4") << "Command4"
                                  << "Sliderkg" << -1;
        QTest::newRow("Command5") << "Command5"
                                  << "Slidercf" << 1;
        QTest::newRow("Command6") << "Command6"
                                  << "Slidercf" << -1;
        QTest::newRow("Command7") << "Command7"
                                  << "Slider5" << 1;
        QTest::newRow("Command8") << "Command8"
                                  << "Slider5" << -1;
        QTest::newRow("Command9") << "Command9"
                                  << "Slider1" << 1;
        QTest::newRow("Command10") << "Command10"
                                   << "Slider1" << -1;
    }
    void stepButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, slider);
        QFETCH(int, step);
        this->slider(slider)->setValue(50);
        child<QPushButton>(button)->click();
        QCOMPARE(this->slider(slider)->value(), 50 + step);
        if (slider == QLatin1String("Slidercf"))
            QCOMPARE(text("Labelf"), step > 0 ? QStringLiteral("123.8") : QStringLiteral("120.2"));
        if (slider == QLatin1String("Slider1"))
            QCOMPARE(text("lblresult1"), QString::number(50 + step));
    }

    void forwardAndBackMoveAllFour()
    {
        drag(slider("Slidercf"), 99);
        drag(slider("Sliderkm"), 2);
        QVERIFY(tool("Forw"));
        QCOMPARE(text("Labelf"), QStringLiteral("212"));
        QCOMPARE(text("Labelkm"), QStringLiteral("4.828"));
        QCOMPARE(slider("Sliderkg")->value(), 1);
        QCOMPARE(text("Labelsqmt"), QStringLiteral("0.093"));
        QVERIFY(tool("Back"));
        QVERIFY(tool("Back"));
        QCOMPARE(text("Labelc"), QStringLiteral("98"));
        QCOMPARE(text("Labelmile"), QStringLiteral("1"));
        QCOMPARE(slider("Slider5")->value(), 0); // held at its minimum
    }

    void customCelsiusToFahrenheit()
    {
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), "Temperature"));
        QCOMPARE(text("lblType"), QStringLiteral("Temperature"));
        QCOMPARE(child<QComboBox>("DBCombo1")->currentText(), QStringLiteral("celsius"));
        QCOMPARE(text("lblfirst"), QStringLiteral("celsius"));
        QVERIFY(chooseInList(child<QComboBox>("DBCombo2"), "fahrenheit"));
        QCOMPARE(text("lblsecond"), QStringLiteral("fahrenheit"));
        drag(slider("Slider1"), 100);
        QCOMPARE(text("lblresult1"), QStringLiteral("100"));
        QCOMPARE(text("lblresult2"), QStringLiteral("212"));
        // The reverse pair has no offset of its own: the rate alone.
        QVERIFY(chooseInList(child<QComboBox>("DBCombo1"), "fahrenheit"));
        QVERIFY(chooseInList(child<QComboBox>("DBCombo2"), "celsius"));
        drag(slider("Slider1"), 90);
        QCOMPARE(text("lblresult2"), QStringLiteral("50"));
    }

    void customDefaultsAndCrossTypeTargets_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("from");
        QTest::newRow("Length") << "Length"
                                << "cm";
        QTest::newRow("Mass") << "Mass"
                              << "gram";
        QTest::newRow("Speed") << "Speed"
                               << "mile/sec";
        QTest::newRow("Power") << "Power"
                               << "horse power";
        QTest::newRow("Land Area") << "Land Area"
                                   << "acre";
    }
    void customDefaultsAndCrossTypeTargets()
    {
        QFETCH(QString, type);
        QFETCH(QString, from);
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), type));
        QCOMPARE(child<QComboBox>("DBCombo1")->currentText(), from);
        QVERIFY(!openedItems(child<QComboBox>("DBCombo2")).isEmpty());
        QVERIFY(openedItems(child<QComboBox>("DBCombo1")).contains(from));
    }

    void typeWithoutDefaultKeepsFromUnit()
    {
        {
            Store info(Store::Kind::Info);
            QVERIFY(info.exec(QStringLiteral("insert into NV_CONVERSION ([TYPE], UNIT1, UNIT2, "
                                             "[Value]) values ('Luminance', 'nit', 'nit', 1)")));
        }
        m_form = std::make_unique<FrmSlider>();
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), "Time"));
        QCOMPARE(child<QComboBox>("DBCombo1")->currentText(), QStringLiteral("day"));
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), "Luminance"));
        QCOMPARE(text("lblType"), QStringLiteral("Luminance"));
        QCOMPARE(child<QComboBox>("DBCombo1")->currentText(), QStringLiteral("day"));
        QCOMPARE(openedItems(child<QComboBox>("DBCombo1")), QStringList{"nit"});
    }

    void customPairWithoutRowKeepsResult()
    {
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), "Length"));
        QVERIFY(chooseInList(child<QComboBox>("DBCombo2"), "mm"));
        drag(slider("Slider1"), 3);
        QCOMPARE(text("lblresult2"), QStringLiteral("30"));
        child<QComboBox>("DBCombo2")->setEditText("Kg");
        drag(slider("Slider1"), 4);
        QCOMPARE(text("lblresult1"), QStringLiteral("4"));
        QCOMPARE(text("lblresult2"), QStringLiteral("30"));
    }

    void customPanelHeights_data()
    {
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<int>("shownTwips");
        QTest::addColumn<int>("hiddenTwips");
        QTest::newRow("Custom button") << false << 9200 << 6860;
        QTest::newRow("Advanced tool") << true << 8610 << 6510;
    }
    void customPanelHeights()
    {
        QFETCH(bool, advanced);
        QFETCH(int, shownTwips);
        QFETCH(int, hiddenTwips);
        m_form->show();
        auto *button = child<QPushButton>("SSCommand1");
        const auto toggle = [&] { advanced ? void(tool("Advanced")) : button->click(); };
        toggle();
        QCOMPARE(button->text(), QStringLiteral("Hide Custom"));
        QVERIFY(child<QGroupBox>("Frame2")->isVisible());
        QCOMPARE(m_form->height(), twips(shownTwips));
        toggle();
        QCOMPARE(button->text(), QStringLiteral("Custom"));
        QVERIFY(!child<QGroupBox>("Frame2")->isVisible());
        QCOMPARE(m_form->height(), twips(hiddenTwips));
    }

    void panelSwitching()
    {
        const auto frames = [this] {
            return std::make_pair(!child<QGroupBox>("Frame1")->isHidden(),
                                  !child<QGroupBox>("Frame2")->isHidden());
        };
        QVERIFY(tool("Complex"));
        QCOMPARE(frames(), std::make_pair(false, true));
        QVERIFY(tool("Comman"));
        QCOMPARE(frames(), std::make_pair(true, false));
        child<QAction>("mnucomplex")->trigger();
        QCOMPARE(frames(), std::make_pair(false, true));
        child<QAction>("mnucommon")->trigger();
        QCOMPARE(frames(), std::make_pair(true, false));
    }

    void reset()
    {
        QVERIFY(chooseInList(child<QComboBox>("DBCombo3"), "Temperature"));
        QVERIFY(chooseInList(child<QComboBox>("DBCombo2"), "fahrenheit"));
        drag(slider("Slider1"), 10);
        child<QPushButton>("SSCommand3")->click();
        QCOMPARE(slider("Slider1")->value(), 0);
        for (const char *name : {"lblfirst", "lblsecond", "lblresult1", "lblresult2"})
            QVERIFY2(text(name).isEmpty(), name);
        QVERIFY(child<QComboBox>("DBCombo3")->count() > 10);
    }

    void closing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Return tool") << false;
        QTest::newRow("Esc") << true;
    }
    void closing()
    {
        QFETCH(bool, escape);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        if (escape)
            QTest::keyClick(slider("Sliderkm"), Qt::Key_Escape);
        else
            QVERIFY(tool("Return"));
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_env->platform().exits, 1);
    }
};

QTEST_MAIN(tst_FrmSlider)
#include "tst_FrmSlider.moc"
