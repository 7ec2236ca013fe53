#pragma once

#include "SliderConversions.h"

#include <QMainWindow>

#include <memory>

class DataCombo;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class Store;
class ToolStrip;

// The quick-conversion window: four sliders convert fixed pairs of units with built-in factors,
// and a custom slider converts between any two units of NV_CONVERSION. Closing it ends the
// program.
class FrmSlider : public QMainWindow
{
    Q_OBJECT
public:
    explicit FrmSlider(QWidget *parent = nullptr);
    ~FrmSlider() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct FixedSlider {
        SliderConversions::Fixed kind;
        QSlider *slider = nullptr;
        QLabel *value = nullptr;
        QLabel *result = nullptr;
    };

    QGroupBox *buildFixedPanel();
    QGroupBox *buildCustomPanel();
    QSlider *slider(const QString &name, int minimum, int maximum);
    QPushButton *stepButton(const QString &name, const QString &caption, QSlider *target, int step);
    void runTool(const QString &id);

    void updateFixed(const FixedSlider &fixed);
    void stepFixed(int step);
    void chooseType(const QString &type);
    void fillToList();
    void updateCustom();
    void toggleCustom(int shownTwips, int hiddenTwips);
    void showPanel(bool common);
    void reset();
    void setHeightTwips(int twips);
    void closeWindow();

    std::unique_ptr<Store> m_info;
    std::unique_ptr<SliderConversions> m_conversions;
    ToolStrip *m_tools = nullptr;
    QList<FixedSlider> m_fixed;

    QGroupBox *m_frame1 = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QPushButton *m_custom = nullptr; // SSCommand1
    DataCombo *m_type = nullptr;     // DBCombo3
    DataCombo *m_from = nullptr;     // DBCombo1
    DataCombo *m_to = nullptr;       // DBCombo2
    QSlider *m_slider = nullptr;     // Slider1
    QLabel *m_typeEcho = nullptr;    // lblType
    QLabel *m_fromEcho = nullptr;    // lblfirst
    QLabel *m_toEcho = nullptr;      // lblsecond
    QLabel *m_value = nullptr;       // lblresult1
    QLabel *m_result = nullptr;      // lblresult2
};
