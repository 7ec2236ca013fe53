#include "FrmSlider.h"

#include "DataCombo.h"
#include "HelpButton.h"
#include "NumberText.h"
#include "Platform.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

namespace
{

QLabel *label(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setMinimumWidth(70);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

} // namespace

FrmSlider::FrmSlider(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrmSlider"));
    setWindowTitle(QStringLiteral("Quick Conversions"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("preferences-system")));

    m_info = std::make_unique<Store>(Store::Kind::Info);
    m_conversions = std::make_unique<SliderConversions>(*m_info);

    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    m_tools->addTool(QStringLiteral("Back"), tr("Back"), QStringLiteral("go-previous"));
    m_tools->addTool(QStringLiteral("Forw"), tr("Forward"), QStringLiteral("go-next"));
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("Comman"), tr("Common"), QStringLiteral("view-restore"));
    m_tools->addTool(QStringLiteral("Complex"), tr("Complex"),
                     QStringLiteral("format-justify-fill"));
    m_tools->addTool(QStringLiteral("Advanced"), tr("Advanced"),
                     QStringLiteral("preferences-system"));
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("Return"), tr("Return"), QStringLiteral("application-exit"));
    addToolBar(m_tools);
    connect(m_tools, &ToolStrip::toolClicked, this, &FrmSlider::runTool);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *common = view->addAction(tr("Common"));
    common->setObjectName(QStringLiteral("mnucommon"));
    connect(common, &QAction::triggered, this, [this] { showPanel(true); });
    QAction *complex = view->addAction(tr("Complex"));
    complex->setObjectName(QStringLiteral("mnucomplex"));
    connect(complex, &QAction::triggered, this, [this] { showPanel(false); });

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_frame1 = buildFixedPanel();
    m_frame2 = buildCustomPanel();
    layout->addWidget(m_frame1);
    layout->addWidget(m_frame2);
    layout->addStretch();
    setCentralWidget(central);
    m_frame2->hide();

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FrmSlider::closeWindow);

    for (const FixedSlider &fixed : std::as_const(m_fixed))
        updateFixed(fixed);
    m_type->setItems(m_conversions->types());
    if (ToolHost *host = ToolHost::instance())
        host->setToolCaption(QStringLiteral("Conversion"));
    resize(620, 0);
    setHeightTwips(6860);
}

FrmSlider::~FrmSlider() = default;

QSlider *FrmSlider::slider(const QString &name, int minimum, int maximum)
{
    auto *s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(name);
    s->setRange(minimum, maximum);
    s->setPageStep(10);
    s->setMinimumWidth(220);
    return s;
}

QPushButton *FrmSlider::stepButton(const QString &name, const QString &caption, QSlider *target,
                                   int step)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFixedWidth(30);
    button->setAutoRepeat(true);
    connect(button, &QPushButton::clicked, target,
            [target, step] { target->setValue(target->value() + step); });
    return button;
}

QGroupBox *FrmSlider::buildFixedPanel()
{
    auto *frame = new QGroupBox(tr("Common conversions"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame);
    struct Row {
        SliderConversions::Fixed kind;
        QString slider, minus, plus, value, result, fromUnit, toUnit;
        int minimum, maximum;
    };
    using Fixed = SliderConversions::Fixed;
    const QList<Row> rows = {
        {Fixed::MilesToKm, "Sliderkm", "Command2", "Command1", "Labelmile", "Labelkm", tr("miles"),
         tr("km"), 0, 1000},
        {Fixed::KgToPounds, "Sliderkg", "Command4", "Command3", "Labelkg", "Labellb", tr("kg"),
         tr("lb"), 0, 1000},
        {Fixed::CelsiusToFahrenheit, "Slidercf", "Command6", "Command5", "Labelc", "Labelf",
         QStringLiteral("\u00B0C"), QStringLiteral("\u00B0F"), -100, 300},
        {Fixed::SqFeetToSqMetres, "Slider5", "Command8", "Command7", "Labelsqft", "Labelsqmt",
         tr("sq ft"), tr("sq m"), 0, 10000},
    };
    for (int i = 0; i < rows.size(); ++i) {
        const Row &row = rows.at(i);
        FixedSlider fixed{row.kind, slider(row.slider, row.minimum, row.maximum),
                          label(row.value, frame), label(row.result, frame)};
        grid->addWidget(stepButton(row.minus, QStringLiteral("\u2212"), fixed.slider, -1), i, 0);
        grid->addWidget(fixed.slider, i, 1);
        grid->addWidget(stepButton(row.plus, QStringLiteral("+"), fixed.slider, 1), i, 2);
        grid->addWidget(fixed.value, i, 3);
        grid->addWidget(new QLabel(row.fromUnit + QStringLiteral("  ="), frame), i, 4);
        grid->addWidget(fixed.result, i, 5);
        grid->addWidget(new QLabel(row.toUnit, frame), i, 6);
        connect(fixed.slider, &QSlider::valueChanged, this, [this, fixed] { updateFixed(fixed); });
        m_fixed.append(fixed);
    }
    grid->setColumnStretch(1, 1);

    m_custom = new QPushButton(ThemeIcon::get(QStringLiteral("list-add")), QStringLiteral("Custom"),
                               frame);
    m_custom->setObjectName(QStringLiteral("SSCommand1"));
    connect(m_custom, &QPushButton::clicked, this, [this] { toggleCustom(9200, 6860); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_custom);
    buttons->addStretch();
    buttons->addWidget(new HelpButton(QStringLiteral("UTL0063"), frame));
    grid->addLayout(buttons, int(rows.size()), 0, 1, 7);
    return frame;
}

QGroupBox *FrmSlider::buildCustomPanel()
{
    auto *frame = new QGroupBox(tr("Custom conversion"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    m_type = new DataCombo(QStringLiteral("DBCombo3"), false, frame);
    m_from = new DataCombo(QStringLiteral("DBCombo1"), true, frame);
    m_to = new DataCombo(QStringLiteral("DBCombo2"), true, frame);
    m_slider = slider(QStringLiteral("Slider1"), 0, 1000);
    m_typeEcho = new QLabel(frame);
    m_typeEcho->setObjectName(QStringLiteral("lblType"));
    m_fromEcho = new QLabel(frame);
    m_fromEcho->setObjectName(QStringLiteral("lblfirst"));
    m_toEcho = new QLabel(frame);
    m_toEcho->setObjectName(QStringLiteral("lblsecond"));
    m_value = label(QStringLiteral("lblresult1"), frame);
    m_result = label(QStringLiteral("lblresult2"), frame);
    auto *reset =
        new QPushButton(ThemeIcon::get(QStringLiteral("view-refresh")), tr("Reset"), frame);
    reset->setObjectName(QStringLiteral("SSCommand3"));

    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(tr("Type"), frame), 0, 0);
    lists->addWidget(m_type, 1, 0);
    lists->addWidget(new QLabel(tr("From"), frame), 0, 1);
    lists->addWidget(m_from, 1, 1);
    lists->addWidget(new QLabel(tr("To"), frame), 0, 2);
    lists->addWidget(m_to, 1, 2);

    auto *sliderRow = new QHBoxLayout;
    sliderRow->addWidget(
        stepButton(QStringLiteral("Command10"), QStringLiteral("\u2212"), m_slider, -1));
    sliderRow->addWidget(m_slider, 1);
    sliderRow->addWidget(stepButton(QStringLiteral("Command9"), QStringLiteral("+"), m_slider, 1));

    auto *resultRow = new QHBoxLayout;
    resultRow->addWidget(m_typeEcho);
    resultRow->addStretch();
    resultRow->addWidget(m_value);
    resultRow->addWidget(m_fromEcho);
    resultRow->addWidget(new QLabel(QStringLiteral("="), frame));
    resultRow->addWidget(m_result);
    resultRow->addWidget(m_toEcho);
    resultRow->addStretch();
    resultRow->addWidget(reset);

    auto *layout = new QVBoxLayout(frame);
    layout->addLayout(lists);
    layout->addLayout(sliderRow);
    layout->addLayout(resultRow);

    connect(m_type, &DataCombo::popupAboutToShow, this,
            [this] { m_type->setItems(m_conversions->types()); });
    connect(m_type, &QComboBox::textActivated, this, &FrmSlider::chooseType);
    connect(m_from, &DataCombo::popupAboutToShow, this,
            [this] { m_from->setItems(m_conversions->fromUnits(m_type->currentText())); });
    connect(m_from, &QComboBox::currentTextChanged, m_fromEcho, &QLabel::setText);
    connect(m_from, &QComboBox::textActivated, this, &FrmSlider::fillToList);
    connect(m_to, &DataCombo::popupAboutToShow, this, &FrmSlider::fillToList);
    connect(m_to, &QComboBox::currentTextChanged, m_toEcho, &QLabel::setText);
    connect(m_slider, &QSlider::valueChanged, this, &FrmSlider::updateCustom);
    connect(reset, &QPushButton::clicked, this, &FrmSlider::reset);
    return frame;
}

void FrmSlider::runTool(const QString &id)
{
    if (id == QLatin1String("Forw"))
        stepFixed(1);
    else if (id == QLatin1String("Back"))
        stepFixed(-1);
    else if (id == QLatin1String("Advanced"))
        toggleCustom(8610, 6510);
    else if (id == QLatin1String("Comman"))
        showPanel(true);
    else if (id == QLatin1String("Complex"))
        showPanel(false);
    else if (id == QLatin1String("Return"))
        closeWindow();
}

void FrmSlider::updateFixed(const FixedSlider &fixed)
{
    fixed.value->setText(QString::number(fixed.slider->value()));
    fixed.result->setText(SliderConversions::fixedResult(fixed.kind, fixed.slider->value()));
}

void FrmSlider::stepFixed(int step)
{
    for (const FixedSlider &fixed : std::as_const(m_fixed)) {
        const QSignalBlocker blocker(fixed.slider);
        fixed.slider->setValue(fixed.slider->value() + step);
    }
    for (const FixedSlider &fixed : std::as_const(m_fixed))
        updateFixed(fixed);
}

void FrmSlider::chooseType(const QString &type)
{
    m_typeEcho->setText(type);
    m_from->setItems(m_conversions->fromUnits(type));
    if (const auto unit = SliderConversions::defaultFromUnit(type))
        m_from->setEditText(*unit);
    fillToList();
}

void FrmSlider::fillToList()
{
    m_to->setItems(m_conversions->toUnits(m_from->currentText()));
}

void FrmSlider::updateCustom()
{
    const int v = m_slider->value();
    m_value->setText(QString::number(v));
    // A pair without a row leaves the previous result.
    const QString from = m_from->currentText(), to = m_to->currentText();
    if (const auto rate = m_conversions->rate(from, to))
        m_result->setText(
            NumberText::shortest(SliderConversions::customResult(v, *rate, from, to)));
}

void FrmSlider::toggleCustom(int shownTwips, int hiddenTwips)
{
    const bool show = m_custom->text() == QLatin1String("Custom");
    m_custom->setText(show ? QStringLiteral("Hide Custom") : QStringLiteral("Custom"));
    m_frame2->setVisible(show);
    setHeightTwips(show ? shownTwips : hiddenTwips);
}

void FrmSlider::showPanel(bool common)
{
    m_frame1->setVisible(common);
    m_frame2->setVisible(!common);
}

void FrmSlider::reset()
{
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(0);
    }
    m_fromEcho->clear();
    m_toEcho->clear();
    m_value->clear();
    m_result->clear();
    m_type->setItems(m_conversions->types());
}

void FrmSlider::setHeightTwips(int twips)
{
    const int pixels = twips * logicalDpiY() / 1440;
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    QWidget *target = frame ? frame : this;
    target->resize(target->width(), pixels);
}

void FrmSlider::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void FrmSlider::closeEvent(QCloseEvent *event)
{
    event->accept();
    Platform::instance().exitProcess();
}
