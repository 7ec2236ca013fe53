#include "GeometryPanel.h"

#include "DataCombo.h"
#include "Dialogs.h"
#include "ShapePicture.h"
#include "ThemeIcon.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using Shape = GeometryCalculator::Shape;

namespace
{

QString panelTitle(Shape shape, GeometryPanel::Mode mode)
{
    const bool weight = mode == GeometryPanel::Mode::Weight;
    switch (shape) {
    case Shape::Square:
        return QStringLiteral("Area of Square");
    case Shape::Rectangle:
        return QStringLiteral("Area of Rectangle");
    case Shape::Circle:
        return QStringLiteral("Area of Circle");
    case Shape::Cube:
        return weight ? QStringLiteral("Weight Of Cube") : QStringLiteral("Volume of Cube");
    case Shape::Sphere:
        return weight ? QStringLiteral("Weight Of Sphere") : QStringLiteral("Volume Of Sphere");
    case Shape::Cylinder:
        return weight ? QStringLiteral("Weight Of Cylinder") : QStringLiteral("Volume Of Cylinder");
    }
    return {};
}

QString groupTitle(GeometryPanel::Mode mode)
{
    switch (mode) {
    case GeometryPanel::Mode::Area:
        return QStringLiteral("Calculation of Area");
    case GeometryPanel::Mode::Volume:
        return QStringLiteral("Calculation of Volume");
    case GeometryPanel::Mode::Weight:
        return QStringLiteral("Calculation of Weight");
    }
    return {};
}

GeometryCalculator::Measure measureOf(const QComboBox *kind)
{
    const QString text = kind ? kind->currentText() : QString();
    if (text == QLatin1String("Radius"))
        return GeometryCalculator::Measure::Radius;
    if (text == QLatin1String("Circumference"))
        return GeometryCalculator::Measure::Circumference;
    return GeometryCalculator::Measure::Diameter;
}

} // namespace

GeometryPanel::GeometryPanel(const Store &info, QWidget *parent)
    : QWidget(parent), m_calculator(info)
{
    setObjectName(QStringLiteral("FrameCalculation"));
    m_group = new QLabel(this);
    m_group->setObjectName(QStringLiteral("lblCalcGroup"));
    QFont big = m_group->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_group->setFont(big);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lblPanelTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_picture = new ShapePicture(this);
    m_pages = new QStackedWidget(this);

    auto *options = new QHBoxLayout;
    auto *optionGroup = new QButtonGroup(this);
    const QList<std::pair<Shape, QString>> shapes = {
        {Shape::Square, QStringLiteral("Optsquare")},
        {Shape::Rectangle, QStringLiteral("Optrect")},
        {Shape::Circle, QStringLiteral("Optcircle")},
        {Shape::Cube, QStringLiteral("Optcube")},
        {Shape::Sphere, QStringLiteral("OptSphere")},
        {Shape::Cylinder, QStringLiteral("Optcylinder")}};
    const QStringList captions = {QStringLiteral("Square"), QStringLiteral("Rectangle"),
                                  QStringLiteral("Circle"), QStringLiteral("Cube"),
                                  QStringLiteral("Sphere"), QStringLiteral("Cylinder")};
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        auto *option = new QRadioButton(captions.at(i), this);
        option->setObjectName(shapes.at(i).second);
        optionGroup->addButton(option);
        options->addWidget(option);
        const Shape shape = shapes.at(i).first;
        m_options.insert(int(shape), option);
        // An option switches the shape within the current mode.
        connect(option, &QRadioButton::clicked, this, [this, shape] { showShape(shape, m_mode); });
    }
    options->addStretch();

    buildPanels();

    m_materialRow = new QWidget(this);
    auto *materialLayout = new QFormLayout(m_materialRow);
    materialLayout->setContentsMargins(0, 0, 0, 0);
    m_material = list(QStringLiteral("DBComboWt"), m_calculator.materials());
    materialLayout->addRow(tr("Material"), m_material);

    auto *refresh =
        new QPushButton(ThemeIcon::get(QStringLiteral("view-refresh")), tr("Refresh"), this);
    refresh->setObjectName(QStringLiteral("cmdrefresh1"));
    connect(refresh, &QPushButton::clicked, this, &GeometryPanel::refresh);

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblCalcResult"));
    m_result->setFont(bold);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_weight = new QLabel(this);
    m_weight->setObjectName(QStringLiteral("lblWeight"));
    m_weight->setFont(bold);
    m_weight->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lines = new QListWidget(this);
    m_lines->setObjectName(QStringLiteral("lstCalcLines"));

    auto *inputs = new QVBoxLayout;
    inputs->addWidget(m_title);
    inputs->addLayout(options);
    inputs->addWidget(m_pages);
    inputs->addWidget(m_materialRow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refresh);
    inputs->addLayout(buttons);
    inputs->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(m_picture, 0, Qt::AlignTop);
    top->addLayout(inputs, 1);

    auto *results = new QGroupBox(tr("Results"), this);
    auto *resultLayout = new QVBoxLayout(results);
    resultLayout->addWidget(m_result);
    resultLayout->addWidget(m_weight);
    resultLayout->addWidget(m_lines);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_group);
    layout->addLayout(top);
    layout->addWidget(results, 1);

    m_controls.value(int(Shape::Square)).result->setCurrentText(GeometryCalculator::all);
    showShape(Shape::Square, Mode::Area);
}

QLineEdit *GeometryPanel::numberField(const QString &name)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaximumWidth(140);
    m_numericFields << field;
    return field;
}

DataCombo *GeometryPanel::list(const QString &name, const QStringList &items)
{
    auto *combo = new DataCombo(name, false, this);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

void GeometryPanel::buildPanels()
{
    const QStringList lengths = m_calculator.lengthUnits();
    const QStringList all = {GeometryCalculator::all};
    const QStringList kinds = {QStringLiteral("Diameter"), QStringLiteral("Radius")};

    // One row of a panel: caption, number, unit (and kind).
    const auto row = [](QFormLayout *form, const QString &caption, QLineEdit *field,
                        QComboBox *unit, QComboBox *kind = nullptr) {
        auto *line = new QHBoxLayout;
        line->addWidget(field);
        line->addWidget(unit, 1);
        if (kind)
            line->addWidget(kind);
        form->addRow(caption, line);
    };
    const auto page = [this](Shape shape, ShapeControls controls) {
        m_pages->addWidget(controls.page);
        m_resultLists << controls.result;
        m_controls.insert(int(shape), controls);
    };

    // The square and the rectangle share their panel; the square hides the second side.
    {
        ShapeControls c;
        c.page = new QWidget(this);
        c.page->setObjectName(QStringLiteral("FrameArea"));
        auto *form = new QFormLayout(c.page);
        c.inputs = {numberField(QStringLiteral("Text2")), numberField(QStringLiteral("Text3"))};
        c.units = {list(QStringLiteral("DBCombo4"), lengths),
                   list(QStringLiteral("DBCombo5"), lengths)};
        c.result = list(QStringLiteral("DBCombo6"), all + m_calculator.areaUnits());
        row(form, tr("Side 1"), c.inputs.at(0), c.units.at(0));
        row(form, tr("Side 2"), c.inputs.at(1), c.units.at(1));
        form->addRow(tr("Result in"), c.result);
        page(Shape::Square, c);
        m_controls.insert(int(Shape::Rectangle), c);
        calculateOn(c.result, {Shape::Square, Shape::Rectangle});
        calculateOn(c.units.at(0), {Shape::Square, Shape::Rectangle});
        calculateOn(c.units.at(1), {Shape::Rectangle});
    }
    {
        ShapeControls c;
        c.page = new QWidget(this);
        c.page->setObjectName(QStringLiteral("FrameCircle"));
        auto *form = new QFormLayout(c.page);
        c.inputs = {numberField(QStringLiteral("Text4"))};
        c.units = {list(QStringLiteral("DBCombo7"), lengths)};
        c.kind = list(QStringLiteral("Combo1"), kinds);
        c.kind->setCurrentIndex(0);
        c.result = list(QStringLiteral("DBCircleRslt"), all + m_calculator.areaUnits());
        row(form, tr("Measure"), c.inputs.at(0), c.units.at(0), c.kind);
        form->addRow(tr("Result in"), c.result);
        page(Shape::Circle, c);
        calculateOn(c.result, {Shape::Circle});
        calculateOn(c.units.at(0), {Shape::Circle});
    }
    {
        ShapeControls c;
        c.page = new QWidget(this);
        c.page->setObjectName(QStringLiteral("FrameCube"));
        auto *form = new QFormLayout(c.page);
        c.inputs = {numberField(QStringLiteral("Text5")), numberField(QStringLiteral("Text6")),
                    numberField(QStringLiteral("Text7"))};
        c.units = {list(QStringLiteral("DBCombo8"), lengths),
                   list(QStringLiteral("DBCombo9"), lengths),
                   list(QStringLiteral("DBCombo10"), lengths)};
        c.result = list(QStringLiteral("DBCombo11"), all + m_calculator.boxVolumeUnits());
        row(form, tr("Length"), c.inputs.at(0), c.units.at(0));
        row(form, tr("Width"), c.inputs.at(1), c.units.at(1));
        row(form, tr("Height"), c.inputs.at(2), c.units.at(2));
        form->addRow(tr("Result in"), c.result);
        page(Shape::Cube, c);
        calculateOn(c.result, {Shape::Cube});
        calculateOn(c.units.at(2), {Shape::Cube});
    }
    {
        ShapeControls c;
        c.page = new QWidget(this);
        c.page->setObjectName(QStringLiteral("FrameCylinder"));
        auto *form = new QFormLayout(c.page);
        c.inputs = {numberField(QStringLiteral("txtcylinder")),
                    numberField(QStringLiteral("txtrdcyli"))};
        c.units = {list(QStringLiteral("DBCCylinder"), lengths),
                   list(QStringLiteral("DBCyRDunit"), lengths)};
        c.kind = list(QStringLiteral("ComboCylinder"), kinds);
        c.kind->setCurrentIndex(0);
        c.result = list(QStringLiteral("DBCyResult"), all + m_calculator.volumeUnits());
        row(form, tr("Base"), c.inputs.at(0), c.units.at(0), c.kind);
        row(form, tr("Height"), c.inputs.at(1), c.units.at(1));
        form->addRow(tr("Result in"), c.result);
        page(Shape::Cylinder, c);
        calculateOn(c.result, {Shape::Cylinder});
        calculateOn(c.units.at(1), {Shape::Cylinder});
    }
    {
        ShapeControls c;
        c.page = new QWidget(this);
        c.page->setObjectName(QStringLiteral("FrameSphere"));
        auto *form = new QFormLayout(c.page);
        c.inputs = {numberField(QStringLiteral("TxtSphere"))};
        c.units = {list(QStringLiteral("DBCSphUnit"), m_calculator.sphereLengthUnits())};
        c.kind = list(QStringLiteral("ComboSphere"),
                      kinds + QStringList{QStringLiteral("Circumference")});
        c.kind->setCurrentIndex(0);
        c.result = list(QStringLiteral("DBCSphere"), all + m_calculator.volumeUnits());
        row(form, tr("Measure"), c.inputs.at(0), c.units.at(0), c.kind);
        form->addRow(tr("Result in"), c.result);
        page(Shape::Sphere, c);
        calculateOn(c.result, {Shape::Sphere});
        calculateOn(c.units.at(0), {Shape::Sphere});
        calculateOn(c.kind, {Shape::Sphere});
    }
}

void GeometryPanel::calculateOn(QComboBox *combo, QList<Shape> shapes)
{
    connect(combo, &QComboBox::textActivated, this, [this, shapes] {
        if (shapes.contains(m_shape))
            calculate();
    });
}

const GeometryPanel::ShapeControls &GeometryPanel::controls(Shape shape) const
{
    return *m_controls.constFind(int(shape));
}

void GeometryPanel::showShape(Shape shape, Mode mode)
{
    // Areas have no weight; solids are volumes unless weighed.
    if (GeometryCalculator::isArea(shape))
        mode = Mode::Area;
    else if (mode == Mode::Area)
        mode = Mode::Volume;
    m_shape = shape;
    m_mode = mode;
    const ShapeControls &c = controls(shape);
    m_pages->setCurrentWidget(c.page);
    if (shape == Shape::Square || shape == Shape::Rectangle) {
        const bool rectangle = shape == Shape::Rectangle;
        c.inputs.at(1)->setVisible(rectangle);
        c.units.at(1)->setVisible(rectangle);
        if (auto *form = qobject_cast<QFormLayout *>(c.page->layout()))
            form->setRowVisible(1, rectangle);
    }
    m_group->setText(groupTitle(mode));
    m_title->setText(panelTitle(shape, mode));
    m_picture->setShape(shape);
    m_materialRow->setVisible(mode == Mode::Weight);
    m_weight->setVisible(mode == Mode::Weight);
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it) {
        const bool area = GeometryCalculator::isArea(Shape(it.key()));
        it.value()->setVisible(area == (mode == Mode::Area));
    }
    m_options.value(int(shape))->setChecked(true);
}

void GeometryPanel::calculate()
{
    const ShapeControls &c = controls(m_shape);
    GeometryCalculator::Request request;
    request.shape = m_shape;
    const qsizetype used = m_shape == Shape::Square ? 1 : c.inputs.size();
    for (qsizetype i = 0; i < used; ++i)
        request.lengths.append({c.inputs.at(i)->text(), c.units.at(i)->currentText()});
    request.measure = measureOf(c.kind);
    request.resultUnit = c.result->currentText();
    request.weight = m_mode == Mode::Weight;
    request.material = m_material->currentText();

    const GeometryCalculator::Result result = m_calculator.calculate(request);
    if (!result.message.isEmpty()) {
        Dialogs::instance().message(result.message, result.title, Dialogs::Icon::Warning);
        c.units.first()->setFocus();
        return;
    }
    m_result->setText(result.resultLine);
    if (request.resultUnit == GeometryCalculator::all) {
        m_lines->clear();
        m_lines->addItems(result.lines);
    }
    if (result.weightLine)
        m_weight->setText(*result.weightLine);
}

void GeometryPanel::refresh()
{
    for (QLineEdit *field : std::as_const(m_numericFields))
        field->clear();
    for (QComboBox *combo : std::as_const(m_resultLists))
        combo->setCurrentText(GeometryCalculator::all);
    m_result->clear();
    m_lines->clear();
    m_weight->clear();
}
