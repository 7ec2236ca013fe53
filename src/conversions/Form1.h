#pragma once

#include "ConversionRates.h"
#include "GeometryPanel.h"
#include "UnitConverter.h"

#include <QMainWindow>

#include <memory>

class DataCombo;
class Keypad;
class QActionGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class Store;
class ToolStrip;

// The Conversions window: converts a value between two units of a type, lists it in every unit
// of the type (or, in ALL mode, of every type), turns a land price per unit into a price per
// target unit, and hosts the geometry calculators. Every rate comes from NV_CONVERSION in the
// information store. Closing it ends the program.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    QString currentType() const { return m_type; }
    bool allMode() const { return m_allMode; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct TypeTool {
        QString id;
        QString caption;
        QString type;
        QString title;
    };
    static const QList<TypeTool> &typeTools();

    void buildToolBars();
    QWidget *buildConversionPage();
    void addMenuTool(ToolStrip *strip, const QString &id, const QString &text, const QString &icon,
                     const QList<std::pair<QString, QString>> &items);
    void runTool(const QString &id);

    void selectType(const TypeTool &tool);
    void fillFromList();
    void fillToList();
    void convert();
    void listTargets(UnitConverter::Listing listing);
    void refresh();
    void enterAllMode();
    void leaveAllMode();
    void showCalculator(GeometryCalculator::Shape shape, GeometryPanel::Mode mode);
    void showConversions();
    void valueBoxEntered();
    void openSlider();
    void closeWindow();
    // The listing of all targets waits for the first activation.
    void markActivated();
    void warn(const QString &message);
    void focusField(UnitConverter::Field field);

    ShowUnit showUnit() const;
    UnitSystem unitSystem() const;
    UnitConverter::Input input() const;

    std::unique_ptr<Store> m_info;
    std::unique_ptr<ConversionRates> m_rates;
    std::unique_ptr<UnitConverter> m_converter;
    QString m_type;
    bool m_allMode = false;
    bool m_activated = false;

    ToolStrip *m_tools = nullptr;
    ToolStrip *m_types = nullptr;
    QActionGroup *m_typeGroup = nullptr;
    QStackedWidget *m_pages = nullptr;
    QWidget *m_conversionPage = nullptr;
    GeometryPanel *m_calculator = nullptr;
    Keypad *m_keypad = nullptr;

    QLabel *m_title = nullptr;
    QLineEdit *m_value = nullptr; // Text1
    DataCombo *m_from = nullptr;  // DBCombo2
    DataCombo *m_to = nullptr;    // DBCombo3
    QLabel *m_rateCaption = nullptr;
    QLineEdit *m_rate = nullptr;         // txtrate
    QLabel *m_result = nullptr;          // Label6
    QLabel *m_landRate = nullptr;        // lblandarea
    QListWidget *m_lines = nullptr;      // Label4
    QListWidget *m_rates2 = nullptr;     // Label26
    QPushButton *m_convertAll = nullptr; // CmdAll
    QGroupBox *m_showUnit = nullptr;
    QRadioButton *m_common = nullptr;   // Option1
    QRadioButton *m_all = nullptr;      // Option2
    QRadioButton *m_allUnits = nullptr; // OptionAll
    QRadioButton *m_metric = nullptr;   // OptionMetric
};
