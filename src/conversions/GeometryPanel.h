#pragma once

#include "GeometryCalculator.h"

#include <QWidget>

class DataCombo;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;
class ShapePicture;
class Store;

// The geometry calculators of the Conversions window: one input panel per shape, the shape's
// picture, the material list in weight mode and the result lines.
class GeometryPanel : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Area, Volume, Weight };

    GeometryPanel(const Store &info, QWidget *parent = nullptr);

    // Shows the shape's panel in the mode (areas for square, rectangle and circle).
    void showShape(GeometryCalculator::Shape shape, Mode mode);
    GeometryCalculator::Shape shape() const { return m_shape; }
    Mode mode() const { return m_mode; }
    // The numeric inputs, for the keypad.
    QList<QLineEdit *> numericFields() const { return m_numericFields; }

    // Computes the shown shape into the result lines (or shows why it cannot).
    void calculate();
    // Empties every input, sets every result list to "All" and clears the result lines.
    void refresh();

private:
    struct ShapeControls {
        QWidget *page = nullptr;
        QList<QLineEdit *> inputs;
        QList<QComboBox *> units;
        QComboBox *kind = nullptr;
        QComboBox *result = nullptr;
    };

    QLineEdit *numberField(const QString &name);
    DataCombo *list(const QString &name, const QStringList &items);
    void buildPanels();
    void calculateOn(QComboBox *combo, QList<GeometryCalculator::Shape> shapes);
    const ShapeControls &controls(GeometryCalculator::Shape shape) const;

    GeometryCalculator m_calculator;
    GeometryCalculator::Shape m_shape = GeometryCalculator::Shape::Square;
    Mode m_mode = Mode::Area;
    QHash<int, ShapeControls> m_controls; // by Shape
    QList<QLineEdit *> m_numericFields;
    QList<QComboBox *> m_resultLists;

    QLabel *m_group;
    QLabel *m_title;
    ShapePicture *m_picture;
    QStackedWidget *m_pages;
    QWidget *m_materialRow;
    QComboBox *m_material;
    QHash<int, QRadioButton *> m_options; // by Shape
    QLabel *m_result;
    QLabel *m_weight;
    QListWidget *m_lines;
};
