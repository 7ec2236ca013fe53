#include "Form1.h"

#include "DataCombo.h"
#include "Dialogs.h"
#include "FrmSlider.h"
#include "HelpButton.h"
#include "Keypad.h"
#include "Platform.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using Shape = GeometryCalculator::Shape;

const QList<Form1::TypeTool> &Form1::typeTools()
{
    static const QList<TypeTool> tools = {
        {QStringLiteral("length"), QStringLiteral("Length"), QStringLiteral("Length"),
         QStringLiteral("Length")},
        {QStringLiteral("area"), QStringLiteral("Area"), QStringLiteral("Area"),
         QStringLiteral("Area")},
        {QStringLiteral("land"), QStringLiteral("Land"), QStringLiteral("Land Area"),
         QStringLiteral("Land")},
        {QStringLiteral("volume"), QStringLiteral("Volume"), QStringLiteral("Volume"),
         QStringLiteral("Volume")},
        {QStringLiteral("weight"), QStringLiteral("Weight/Mass"), QStringLiteral("Mass"),
         QStringLiteral("Weight/Mass")},
        {QStringLiteral("pressure"), QStringLiteral("Pressure"), QStringLiteral("Stress/Pressure"),
         QStringLiteral("Stress/Pressure")},
        {QStringLiteral("force"), QStringLiteral("Force"), QStringLiteral("Force"),
         QStringLiteral("Force")},
        {QStringLiteral("liquids"), QStringLiteral("Liquids/Volume"), QStringLiteral("Volume"),
         QStringLiteral("Liquids/Volume")},
        {QStringLiteral("speed"), QStringLiteral("Speed"), QStringLiteral("Speed"),
         QStringLiteral("Speed")},
        {QStringLiteral("rdensity"), QStringLiteral("Rel. Density"),
         QStringLiteral("Relative Density"), QStringLiteral("Relative Density")},
        {QStringLiteral("capacity"), QStringLiteral("Capacity"), QStringLiteral("Capacity"),
         QStringLiteral("Capacity")},
        {QStringLiteral("energy"), QStringLiteral("Energy"), QStringLiteral("Energy"),
         QStringLiteral("Energy")},
        {QStringLiteral("mass"), QStringLiteral("Mass"), QStringLiteral("Mass"),
         QStringLiteral("Mass")},
    };
    return tools;
}

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Conversions"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("accessories-calculator")));

    m_info = std::make_unique<Store>(Store::Kind::Info);
    m_rates = std::make_unique<ConversionRates>(*m_info);
    m_converter = std::make_unique<UnitConverter>(*m_rates);

    buildToolBars();
    auto *central = new QWidget(this);
    m_pages = new QStackedWidget(central);
    m_conversionPage = buildConversionPage();
    m_calculator = new GeometryPanel(*m_info, this);
    m_pages->addWidget(m_conversionPage);
    m_pages->addWidget(m_calculator);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_pages);
    setCentralWidget(central);

    // The keypad floats over the window, under whichever numeric field was entered last.
    m_keypad = new Keypad(central);
    m_keypad->addField(m_value);
    m_keypad->addField(m_rate);
    for (QLineEdit *field : m_calculator->numericFields())
        m_keypad->addField(field);
    connect(m_keypad, &Keypad::fieldEntered, this, [this](QLineEdit *field) {
        if (field == m_value)
            valueBoxEntered();
    });

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::closeWindow);

    selectType(typeTools().first());
    m_all->setChecked(true);
    m_activated = false;
    if (ToolHost *host = ToolHost::instance())
        host->setToolCaption(QStringLiteral("Conversion"));
    resize(940, 640);
}

Form1::~Form1() = default;

void Form1::addMenuTool(ToolStrip *strip, const QString &id, const QString &text,
                        const QString &icon, const QList<std::pair<QString, QString>> &items)
{
    QAction *group = strip->addTool(id, text, icon);
    auto *menu = new QMenu(this);
    for (const auto &[itemId, itemText] : items) {
        // Items stay tools of the strip, so they dispatch by identifier like any other tool.
        QAction *item = strip->addTool(itemId, itemText);
        strip->removeAction(item);
        menu->addAction(item);
    }
    group->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(strip->widgetForAction(group)))
        button->setPopupMode(QToolButton::InstantPopup);
}

void Form1::buildToolBars()
{
    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    m_tools->setWindowTitle(tr("Tools"));
    m_tools->addTool(QStringLiteral("ID_Conversions>>"), QStringLiteral("Conversions >>"),
                     QStringLiteral("go-jump"));
    m_tools->addTool(QStringLiteral("ID_Calculation"), QStringLiteral("Calculation  >>"),
                     QStringLiteral("accessories-calculator"));
    m_tools->addSeparator();
    addMenuTool(m_tools, QStringLiteral("areasrc"), QStringLiteral("Area"),
                QStringLiteral("x-office-drawing"),
                {{QStringLiteral("Square"), QStringLiteral("Square")},
                 {QStringLiteral("Rectangle"), QStringLiteral("Rectangle")},
                 {QStringLiteral("Circle"), QStringLiteral("Circle")}});
    addMenuTool(m_tools, QStringLiteral("volccs"), QStringLiteral("Volume"),
                QStringLiteral("insert-object"),
                {{QStringLiteral("Cube"), QStringLiteral("Cube")},
                 {QStringLiteral("Sphere"), QStringLiteral("Sphere")},
                 {QStringLiteral("Cylinder"), QStringLiteral("Cylinder")}});
    addMenuTool(m_tools, QStringLiteral("weight1"), QStringLiteral("Weight"),
                QStringLiteral("emblem-package"),
                {{QStringLiteral("WeightCube"), QStringLiteral("Cube")},
                 {QStringLiteral("WeightSphere"), QStringLiteral("Sphere")},
                 {QStringLiteral("WeightCylinder"), QStringLiteral("Cylinder")}});
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("ALL"), QStringLiteral("ALL"),
                     QStringLiteral("edit-select-all"));
    addMenuTool(m_tools, QStringLiteral("ShowUnit"), QStringLiteral("Show Unit"),
                QStringLiteral("format-justify-fill"),
                {{QStringLiteral("UAll"), QStringLiteral("All")},
                 {QStringLiteral("Common"), QStringLiteral("Common")}});
    m_tools->addTool(QStringLiteral("slider"), QStringLiteral("Quick Conversions"),
                     QStringLiteral("preferences-system"));
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("ID_Exit"), QStringLiteral("Exit"),
                     QStringLiteral("application-exit"));
    addToolBar(Qt::TopToolBarArea, m_tools);
    addToolBarBreak(Qt::TopToolBarArea);

    m_types = new ToolStrip(QStringLiteral("tbTypes"), this);
    m_types->setWindowTitle(tr("Conversion types"));
    m_types->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_typeGroup = new QActionGroup(this);
    for (const TypeTool &tool : typeTools()) {
        QAction *action = m_types->addTool(tool.id, tool.caption);
        action->setCheckable(true);
        m_typeGroup->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_types);

    connect(m_tools, &ToolStrip::toolClicked, this, &Form1::runTool);
    connect(m_types, &ToolStrip::toolClicked, this, &Form1::runTool);
}

QWidget *Form1::buildConversionPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("FrameConversion"));

    m_title = new QLabel(page);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_title->setFont(big);

    m_value = new QLineEdit(page);
    m_value->setObjectName(QStringLiteral("Text1"));
    m_from = new DataCombo(QStringLiteral("DBCombo2"), true, page);
    m_to = new DataCombo(QStringLiteral("DBCombo3"), true, page);
    m_rate = new QLineEdit(page);
    m_rate->setObjectName(QStringLiteral("txtrate"));
    m_rateCaption = new QLabel(QStringLiteral("Rate/Unit"), page);
    m_rateCaption->setObjectName(QStringLiteral("lblRate"));

    auto *entry = new QFormLayout;
    entry->addRow(QStringLiteral("Enter  Value"), m_value);
    entry->addRow(tr("From"), m_from);
    entry->addRow(tr("To"), m_to);
    entry->addRow(m_rateCaption, m_rate);

    m_convertAll = new QPushButton(ThemeIcon::get(QStringLiteral("edit-select-all")),
                                   tr("Convert to all"), page);
    m_convertAll->setObjectName(QStringLiteral("CmdAll"));
    m_convertAll->hide();
    auto *refresh =
        new QPushButton(ThemeIcon::get(QStringLiteral("view-refresh")), tr("Refresh"), page);
    refresh->setObjectName(QStringLiteral("CmdRefresh"));
    auto *help = new HelpButton(QStringLiteral("UTL005"), page);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_convertAll);
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(help);

    m_result = new QLabel(page);
    m_result->setObjectName(QStringLiteral("Label6"));
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_landRate = new QLabel(page);
    m_landRate->setObjectName(QStringLiteral("lblandarea"));
    m_landRate->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_showUnit = new QGroupBox(tr("Show Unit"), page);
    m_showUnit->setObjectName(QStringLiteral("FrameShowUnit"));
    m_common = new QRadioButton(tr("Common"), m_showUnit);
    m_common->setObjectName(QStringLiteral("Option1"));
    m_all = new QRadioButton(tr("All"), m_showUnit);
    m_all->setObjectName(QStringLiteral("Option2"));
    m_allUnits = new QRadioButton(tr("All units"), m_showUnit);
    m_allUnits->setObjectName(QStringLiteral("OptionAll"));
    m_allUnits->setChecked(true);
    m_metric = new QRadioButton(tr("Metric"), m_showUnit);
    m_metric->setObjectName(QStringLiteral("OptionMetric"));
    // Two independent choices in one panel.
    auto *showGroup = new QButtonGroup(m_showUnit);
    showGroup->addButton(m_common);
    showGroup->addButton(m_all);
    auto *systemGroup = new QButtonGroup(m_showUnit);
    systemGroup->addButton(m_allUnits);
    systemGroup->addButton(m_metric);
    auto *choices = new QGridLayout(m_showUnit);
    choices->addWidget(m_common, 0, 0);
    choices->addWidget(m_all, 0, 1);
    choices->addWidget(m_allUnits, 1, 0);
    choices->addWidget(m_metric, 1, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(m_title);
    left->addLayout(entry);
    left->addLayout(buttons);
    left->addSpacing(8);
    left->addWidget(m_result);
    left->addWidget(m_landRate);
    left->addWidget(m_showUnit);
    left->addStretch();

    m_lines = new QListWidget(page);
    m_lines->setObjectName(QStringLiteral("Label4"));
    m_rates2 = new QListWidget(page);
    m_rates2->setObjectName(QStringLiteral("Label26"));
    // Line i of both lists belongs together: scroll them as one.
    connect(m_lines->verticalScrollBar(), &QScrollBar::valueChanged, m_rates2->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_rates2->verticalScrollBar(), &QScrollBar::valueChanged, m_lines->verticalScrollBar(),
            &QScrollBar::setValue);
    auto *results = new QGroupBox(tr("In every unit"), page);
    auto *resultLayout = new QHBoxLayout(results);
    resultLayout->addWidget(m_lines, 3);
    resultLayout->addWidget(m_rates2, 2);

    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 2);
    layout->addWidget(results, 3);

    connect(m_from, &DataCombo::popupAboutToShow, this, &Form1::fillFromList);
    connect(m_to, &DataCombo::popupAboutToShow, this, &Form1::fillToList);
    connect(m_from, &QComboBox::textActivated, this, &Form1::fillToList);
    connect(m_to, &QComboBox::textActivated, this, &Form1::convert);
    // A typed To unit that is not in the list is converted too (the list activates the rest).
    connect(m_to->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_to->findText(m_to->currentText(), Qt::MatchFixedString) < 0)
            convert();
    });
    connect(m_convertAll, &QPushButton::clicked, this,
            [this] { listTargets(UnitConverter::Listing::AnyType); });
    connect(refresh, &QPushButton::clicked, this, &Form1::refresh);
    return page;
}

void Form1::runTool(const QString &id)
{
    if (m_allMode && id != QLatin1String("ALL"))
        leaveAllMode();
    for (const TypeTool &tool : typeTools()) {
        if (tool.id == id) {
            showConversions();
            selectType(tool);
            return;
        }
    }
    static const QHash<QString, std::pair<Shape, GeometryPanel::Mode>> shapes = {
        {QStringLiteral("Square"), {Shape::Square, GeometryPanel::Mode::Area}},
        {QStringLiteral("Rectangle"), {Shape::Rectangle, GeometryPanel::Mode::Area}},
        {QStringLiteral("Circle"), {Shape::Circle, GeometryPanel::Mode::Area}},
        {QStringLiteral("Cube"), {Shape::Cube, GeometryPanel::Mode::Volume}},
        {QStringLiteral("Sphere"), {Shape::Sphere, GeometryPanel::Mode::Volume}},
        {QStringLiteral("Cylinder"), {Shape::Cylinder, GeometryPanel::Mode::Volume}},
        {QStringLiteral("WeightCube"), {Shape::Cube, GeometryPanel::Mode::Weight}},
        {QStringLiteral("WeightSphere"), {Shape::Sphere, GeometryPanel::Mode::Weight}},
        {QStringLiteral("WeightCylinder"), {Shape::Cylinder, GeometryPanel::Mode::Weight}},
    };
    if (const auto it = shapes.constFind(id); it != shapes.constEnd()) {
        showCalculator(it->first, it->second);
    } else if (id == QLatin1String("ALL")) {
        showConversions();
        enterAllMode();
    } else if (id == QLatin1String("UAll")) {
        m_all->setChecked(true);
    } else if (id == QLatin1String("Common")) {
        m_common->setChecked(true);
    } else if (id == QLatin1String("slider")) {
        openSlider();
    } else if (id == QLatin1String("ID_Exit")) {
        closeWindow();
    } else if (id == QLatin1String("ID_Calculation")) {
        showCalculator(m_calculator->shape(), m_calculator->mode());
    } else if (id == QLatin1String("ID_Conversions>>")) {
        showConversions();
    }
}

void Form1::selectType(const TypeTool &tool)
{
    m_type = tool.type;
    m_title->setText(tool.title);
    if (QAction *action = m_types->tool(tool.id))
        action->setChecked(true);
    const bool land = tool.id == QLatin1String("land");
    m_rate->setVisible(land);
    m_rateCaption->setVisible(land);
    m_landRate->setVisible(land);
    m_value->clear();
    m_from->clear();
    m_from->clearEditText();
    m_to->clear();
    m_to->clearEditText();
    m_result->clear();
    m_lines->clear();
    m_rates2->clear();
    // Ready for keyboard use; the list fills again whenever it drops down.
    fillFromList();
}

ShowUnit Form1::showUnit() const
{
    return m_common->isChecked() ? ShowUnit::Common : ShowUnit::All;
}

UnitSystem Form1::unitSystem() const
{
    return m_allUnits->isChecked() ? UnitSystem::AllUnits : UnitSystem::Metric;
}

UnitConverter::Input Form1::input() const
{
    UnitConverter::Input in;
    in.type = m_type;
    in.from = m_from->currentText();
    in.to = m_to->currentText();
    in.value = m_value->text();
    in.rate = m_rate->text();
    in.show = showUnit();
    in.system = unitSystem();
    return in;
}

void Form1::fillFromList()
{
    m_from->setItems(m_rates->fromUnits(m_type, showUnit(), unitSystem()));
}

void Form1::fillToList()
{
    if (m_allMode)
        return;
    m_to->setItems(m_rates->toUnits(m_type, m_from->currentText(), showUnit(), unitSystem()));
}

void Form1::warn(const QString &message)
{
    Dialogs::instance().message(message, QStringLiteral("Nuvela Suite"), Dialogs::Icon::Warning);
}

void Form1::focusField(UnitConverter::Field field)
{
    if (field == UnitConverter::Field::FromList)
        m_from->setFocus();
    else if (field == UnitConverter::Field::ValueBox)
        m_value->setFocus();
}

void Form1::convert()
{
    const UnitConverter::Converted out = m_converter->convert(input());
    if (!out.message.isEmpty()) {
        warn(out.message);
        focusField(out.focus);
        return;
    }
    if (!out.resultLine.isEmpty())
        m_result->setText(out.resultLine);
    if (out.rateLine)
        m_landRate->setText(*out.rateLine);
    if (m_activated)
        listTargets(showUnit() == ShowUnit::Common ? UnitConverter::Listing::Common
                                                   : UnitConverter::Listing::All);
}

void Form1::listTargets(UnitConverter::Listing listing)
{
    const UnitConverter::Listed out = m_converter->list(listing, input());
    if (out.cleared) {
        m_lines->clear();
        m_lines->addItems(out.lines);
        // Rate lines not written keep their text.
        for (qsizetype i = 0; i < out.rateLines.size(); ++i) {
            if (!out.rateLines.at(i))
                continue;
            while (m_rates2->count() <= i)
                m_rates2->addItem(QString());
            m_rates2->item(int(i))->setText(*out.rateLines.at(i));
        }
    }
    if (!out.message.isEmpty()) {
        warn(out.message);
        focusField(out.focus);
    }
}

void Form1::refresh()
{
    m_value->clear();
    m_from->clearEditText();
    if (!m_allMode)
        m_to->clearEditText();
    m_rate->clear();
    m_result->clear();
    m_lines->clear();
    m_rates2->clear();
    m_landRate->clear();
}

void Form1::enterAllMode()
{
    m_allMode = true;
    m_showUnit->hide();
    m_to->clear();
    m_to->setEditText(QStringLiteral("ALL"));
    m_to->setEnabled(false);
    m_convertAll->show();
}

void Form1::leaveAllMode()
{
    m_allMode = false;
    m_showUnit->show();
    m_to->setEnabled(true);
    m_to->clear();
    m_to->clearEditText();
    m_convertAll->hide();
}

void Form1::showConversions()
{
    m_keypad->hide();
    m_pages->setCurrentWidget(m_conversionPage);
}

void Form1::showCalculator(Shape shape, GeometryPanel::Mode mode)
{
    m_keypad->hide();
    m_calculator->showShape(shape, mode);
    m_pages->setCurrentWidget(m_calculator);
}

void Form1::valueBoxEntered()
{
    if (m_showUnit->isVisible() && m_type.trimmed().isEmpty()) {
        warn(QStringLiteral("Type cannot be blank. Select a type"));
        m_from->setFocus();
    }
}

void Form1::openSlider()
{
    auto *slider = new FrmSlider(this);
    slider->setWindowFlag(Qt::Window);
    slider->setAttribute(Qt::WA_DeleteOnClose);
    slider->setWindowModality(Qt::ApplicationModal);
    slider->show();
}

void Form1::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void Form1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_activated = true;
    // Inside the frame the window is activated as a sub-window, not as a top-level one.
    if (event->type() == QEvent::ParentChange) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            connect(sub, &QMdiSubWindow::aboutToActivate, this, &Form1::markActivated,
                    Qt::UniqueConnection);
    }
    QMainWindow::changeEvent(event);
}

void Form1::markActivated()
{
    m_activated = true;
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Platform::instance().exitProcess();
}
