// The values panel: the lists of values kept for the fields of the current table, added,
// changed and removed by hand or filled from the choice catalogue.
#include "frmDblist.h"

#include "AppState.h"
#include "ChoiceCatalogue.h"
#include "KeyedGrid.h"
#include "RecordPager.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QPushButton *button(const QString &name, const QString &text, const QString &icon, QWidget *parent)
{
    auto *made = icon.isEmpty() ? new QPushButton(text, parent)
                                : new QPushButton(ThemeIcon::get(icon), text, parent);
    made->setObjectName(name);
    return made;
}

} // namespace

QFrame *frmDblist::buildValuesPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("frmValues"));
    panel->setFrameShape(QFrame::StyledPanel);
    m_valuesPanel = panel;
    auto *layout = new QGridLayout(panel);
    layout->addWidget(new QLabel(tr("Field:"), panel), 0, 0);
    layout->addWidget(new QLabel(tr("Values kept for it:"), panel), 0, 1);
    lstSFields = new QListWidget(panel);
    lstSFields->setObjectName(QStringLiteral("lstSFields"));
    LstValue = new QListWidget(panel);
    LstValue->setObjectName(QStringLiteral("LstValue"));
    layout->addWidget(lstSFields, 1, 0, 3, 1);
    layout->addWidget(LstValue, 1, 1, 3, 1);
    TxtValue = new QLineEdit(panel);
    TxtValue->setObjectName(QStringLiteral("TxtValue"));
    TxtValue->setReadOnly(true);
    TxtValue->setPlaceholderText(tr("Add or Edit to type a value"));
    layout->addWidget(TxtValue, 1, 2);
    layout->addWidget(buildValueButtons(panel), 2, 2);
    layout->addWidget(buildCataloguePanel(panel), 3, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    panel->setMaximumHeight(200);

    connect(lstSFields, &QListWidget::currentTextChanged, this, [this] { listValues(); });
    connect(LstValue, &QListWidget::currentTextChanged, this, [this](const QString &value) {
        if (m_valuesPanel->property("Tag").toString() != QLatin1String("Add"))
            TxtValue->setText(value);
    });
    connect(TxtValue, &QLineEdit::returnPressed, this, &frmDblist::CmdSaveValue_Click);
    panel->hide();
    return panel;
}

QWidget *frmDblist::buildValueButtons(QWidget *panel)
{
    auto *buttons = new QWidget(panel);
    auto *grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    QPushButton *add = button(QStringLiteral("CmdAddValue"), tr("Add"), "list-add", buttons);
    QPushButton *edit =
        button(QStringLiteral("CmdEditValue"), tr("Edit"), "document-edit", buttons);
    QPushButton *remove =
        button(QStringLiteral("CmdDelValue"), tr("Delete"), "list-remove", buttons);
    QPushButton *removeAll =
        button(QStringLiteral("SSCommand4"), tr("Delete All"), "edit-clear-all", buttons);
    CmdSaveValue = button(QStringLiteral("CmdSaveValue"), tr("Save"), "document-save", buttons);
    CmdCancelValue = button(QStringLiteral("CmdCancelValue"), tr("Cancel"), QString(), buttons);
    grid->addWidget(add, 0, 0);
    grid->addWidget(edit, 0, 1);
    grid->addWidget(remove, 0, 2);
    grid->addWidget(removeAll, 1, 0);
    grid->addWidget(CmdSaveValue, 1, 1);
    grid->addWidget(CmdCancelValue, 1, 2);
    CmdSaveValue->hide();
    CmdCancelValue->hide();

    connect(add, &QPushButton::clicked, this, [this] {
        if (valueField().field.isEmpty())
            return;
        setValueMode(QStringLiteral("Add"));
        TxtValue->clear();
        TxtValue->setFocus();
        PlaySoundCue(SoundCue::Add);
    });
    connect(edit, &QPushButton::clicked, this, [this] {
        if (!LstValue->currentItem())
            return;
        setValueMode(QStringLiteral("Edit"));
        TxtValue->setText(LstValue->currentItem()->text());
        TxtValue->setFocus();
        PlaySoundCue(SoundCue::Edit);
    });
    connect(CmdSaveValue, &QPushButton::clicked, this, &frmDblist::CmdSaveValue_Click);
    connect(CmdCancelValue, &QPushButton::clicked, this, [this] {
        setValueMode(QString());
        PlaySoundCue(SoundCue::Cancel);
    });
    connect(remove, &QPushButton::clicked, this, &frmDblist::CmdDelValue_Click);
    connect(removeAll, &QPushButton::clicked, this, &frmDblist::SSCommand4_Click);
    return buttons;
}

QFrame *frmDblist::buildCataloguePanel(QWidget *panel)
{
    auto *holder = new QFrame(panel);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton *show = button(QStringLiteral("cmdCatalogue"), tr("Fill from the Catalogue..."),
                               "x-office-address-book", holder);
    layout->addWidget(show);
    m_cataloguePanel = new QFrame(holder);
    m_cataloguePanel->setObjectName(QStringLiteral("frmCatalogue"));
    auto *row = new QHBoxLayout(m_cataloguePanel);
    row->setContentsMargins(0, 0, 0, 0);
    m_kindBox = new QComboBox(m_cataloguePanel);
    m_kindBox->setObjectName(QStringLiteral("cboChoiceKind"));
    m_kindBox->setToolTip(tr("Kind of values: names, countries, cities, units, ..."));
    row->addWidget(m_kindBox, 1);
    row->addWidget(button(QStringLiteral("SSCommand22"), tr("Fill"), QString(), m_cataloguePanel));
    layout->addWidget(m_cataloguePanel);
    layout->addStretch(1);
    m_cataloguePanel->hide();
    connect(show, &QPushButton::clicked, m_cataloguePanel, &QWidget::show);
    connect(m_cataloguePanel->findChild<QPushButton *>(QStringLiteral("SSCommand22")),
            &QPushButton::clicked, this, &frmDblist::SSCommand22_Click);

    // The kinds, with the built-in ones a store made by an older version lacks.
    ChoiceCatalogue catalogue(m_browser.store(), m_info);
    catalogue.prepare();
    m_kindBox->addItems(catalogue.kinds());
    return holder;
}

void frmDblist::fillValueFields()
{
    const QString current =
        lstSFields->currentItem() ? lstSFields->currentItem()->text() : QString();
    lstSFields->clear();
    LstValue->clear();
    TxtValue->clear();
    setValueMode(QString());
    for (const FieldInfo &field : m_browser.fields())
        lstSFields->addItem(field.name);
    // The field of the grid's current column, else the one chosen before.
    QString wanted = current;
    const int column = m_grid->currentIndex().column();
    if (m_pager && column >= 0)
        wanted = m_pager->columnNames().value(column);
    const QList<QListWidgetItem *> found = lstSFields->findItems(wanted, Qt::MatchFixedString);
    if (!found.isEmpty())
        lstSFields->setCurrentItem(found.first());
}

FieldChoices::Field frmDblist::valueField() const
{
    return {m_browser.path(), m_browser.table(),
            lstSFields->currentItem() ? lstSFields->currentItem()->text() : QString()};
}

void frmDblist::listValues()
{
    LstValue->clear();
    TxtValue->clear();
    const FieldChoices::Field field = valueField();
    if (!field.field.isEmpty())
        LstValue->addItems(FieldChoices(m_browser.store()).choices(field));
}

void frmDblist::setValueMode(const QString &mode)
{
    m_valuesPanel->setProperty("Tag", mode);
    CmdSaveValue->setVisible(!mode.isEmpty());
    CmdCancelValue->setVisible(!mode.isEmpty());
    TxtValue->setReadOnly(mode.isEmpty());
}

void frmDblist::CmdSaveValue_Click()
{
    const QString mode = m_valuesPanel->property("Tag").toString();
    const FieldChoices::Field field = valueField();
    if (mode.isEmpty() || field.field.isEmpty())
        return;
    const QString text = TxtValue->text().trimmed();
    FieldChoices choices(m_browser.store());
    // A value the field holds already is not written again.
    if (mode == QLatin1String("Add"))
        choices.add(field, text);
    else if (LstValue->currentItem())
        choices.edit(field, LstValue->currentItem()->text(), text);
    setValueMode(QString());
    listValues();
    const QList<QListWidgetItem *> saved = LstValue->findItems(text, Qt::MatchFixedString);
    if (!saved.isEmpty())
        LstValue->setCurrentItem(saved.first());
    PlaySoundCue(SoundCue::Save);
}

void frmDblist::CmdDelValue_Click()
{
    QListWidgetItem *item = LstValue->currentItem();
    if (!item)
        return;
    FieldChoices(m_browser.store()).remove(valueField(), item->text());
    delete item;
    TxtValue->clear();
    PlaySoundCue(SoundCue::Del);
}

void frmDblist::SSCommand4_Click()
{
    FieldChoices choices(m_browser.store());
    const FieldChoices::Field field = valueField();
    for (int i = 0; i < LstValue->count(); ++i)
        choices.remove(field, LstValue->item(i)->text());
    LstValue->clear();
    TxtValue->clear();
}

void frmDblist::SSCommand22_Click()
{
    const FieldChoices::Field field = valueField();
    const QString kind = m_kindBox->currentText();
    if (field.field.isEmpty() || kind.isEmpty())
        return;
    const ChoiceCatalogue catalogue(m_browser.store(), m_info);
    FieldChoices(m_browser.store())
        .replace(field, catalogue.values(kind, AppState::instance().national));
    listValues();
    m_cataloguePanel->hide();
}
