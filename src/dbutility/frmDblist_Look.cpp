// The record grid's look: lines, fonts, tool sizes, colours and schemes; and the attributes of
// the database file.
#include "frmDblist.h"

#include "ColorSchemes.h"
#include "Dialogs.h"
#include "FileFacts.h"
#include "KeyedGrid.h"
#include "OleColor.h"
#include "RecordGridDelegate.h"
#include "SharedRoutines.h"
#include "ToolStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

namespace
{

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

void frmDblist::buildLookTools()
{
    QMenu *lines = addMenuButton(QStringLiteral("ID_Lines"), tr("Grid Lines"),
                                 QStringLiteral("format-justify-fill"), false);
    const QStringList lineTexts{tr("Flat"),          tr("Inset"),    tr("Flat Horizontal"),
                                tr("Flat Vertical"), tr("Explorer"), tr("Spreadsheet")};
    const QStringList lineTools = GridLook::lineStyleTools();
    for (int i = 0; i < lineTools.size(); ++i)
        addMenuTool(lines, lineTools[i], lineTexts[i])->setCheckable(true);
    for (const char *id : {"Bold", "Italic", "Underline"}) {
        const QString name = QLatin1String(id);
        QAction *action =
            m_tools->addTool(name, name, QStringLiteral("format-text-") + name.toLower());
        iconOnly(action);
        action->setToolTip(tr("%1 on the selected cells").arg(name));
    }
    m_fontBox = new QComboBox(m_tools);
    m_fontBox->setObjectName(QStringLiteral("Id_Font1"));
    m_fontBox->addItems(GridLook::fontNames());
    m_fontBox->setToolTip(tr("Font of the records"));
    m_tools->addWidget(m_fontBox);
    m_sizeBox = new QComboBox(m_tools);
    m_sizeBox->setObjectName(QStringLiteral("Id_FontSize"));
    m_sizeBox->addItems(GridLook::fontSizes());
    m_sizeBox->setToolTip(tr("Font size of the records"));
    m_tools->addWidget(m_sizeBox);
    iconOnly(m_tools->addTool(QStringLiteral("ID_Font"), tr("Font..."),
                              QStringLiteral("preferences-desktop-font")));
    m_tools->addSeparator();

    QMenu *colours = addMenuButton(QStringLiteral("ID_Colors"), tr("Colours"),
                                   QStringLiteral("preferences-desktop-theme"), false);
    addMenuTool(colours, QStringLiteral("Backcolor"), tr("Background..."));
    addMenuTool(colours, QStringLiteral("BackcolorAlternate"), tr("Alternate Background..."));
    addMenuTool(colours, QStringLiteral("ID_ForeColor"), tr("Text Colour..."));
    colours->addSeparator();
    addMenuTool(colours, QStringLiteral("ColorScheme"), tr("Colour Schemes..."));
    m_toolScheme = new QComboBox(m_tools);
    m_toolScheme->setObjectName(QStringLiteral("cboScheme1"));
    m_toolScheme->setToolTip(tr("Colour scheme"));
    m_tools->addWidget(m_toolScheme);
    QMenu *sizes = addMenuButton(QStringLiteral("ID_ToolSize"), tr("Tool Size"),
                                 QStringLiteral("zoom-in"), false);
    addMenuTool(sizes, QStringLiteral("VerySmall"), tr("Very Small"));
    addMenuTool(sizes, QStringLiteral("Small"), tr("Small"));
    addMenuTool(sizes, QStringLiteral("Medium"), tr("Medium"));
    addMenuTool(sizes, QStringLiteral("Large"), tr("Large"));

    connect(m_fontBox, &QComboBox::activated, this, [this] {
        m_look.fontName = m_fontBox->currentText();
        applyLook();
        m_look.write();
    });
    connect(m_sizeBox, &QComboBox::activated, this, [this] {
        m_look.fontSize = m_sizeBox->currentText().toInt();
        applyLook();
        m_look.write();
    });
    connect(m_toolScheme, &QComboBox::activated, this, [this] {
        onSchemeChosen(m_toolScheme->currentText());
        m_colourPanel->show();
    });
}

void frmDblist::applyLook()
{
    QFont font(m_look.fontName, m_look.fontSize);
    font.setBold(m_look.bold);
    font.setItalic(m_look.italic);
    font.setUnderline(m_look.underline);
    font.setStrikeOut(m_look.strikeOut);
    m_grid->setFont(font);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
    m_grid->applyColumns();
    int index = m_fontBox->findText(m_look.fontName);
    if (index < 0) {
        m_fontBox->addItem(m_look.fontName);
        index = m_fontBox->count() - 1;
    }
    m_fontBox->setCurrentIndex(index);
    index = m_sizeBox->findText(QString::number(m_look.fontSize));
    if (index < 0) {
        m_sizeBox->addItem(QString::number(m_look.fontSize));
        index = m_sizeBox->count() - 1;
    }
    m_sizeBox->setCurrentIndex(index);
    m_delegate->setLineStyle(m_look.lineStyle);
    for (const QString &id : GridLook::lineStyleTools()) {
        if (QAction *tool = findChild<QAction *>(id))
            tool->setChecked(id == GridLook::toolOfLineStyle(m_look.lineStyle));
    }
    setToolSize(m_look.toolSize);
    m_grid->viewport()->update();
}

void frmDblist::setLineStyle(GridLook::LineStyle style)
{
    m_look.lineStyle = style;
    m_look.write();
    applyLook();
}

void frmDblist::toggleCellFont(const QString &id)
{
    QModelIndexList cells = m_grid->selectionModel()->selectedIndexes();
    if (cells.isEmpty() && m_grid->currentIndex().isValid())
        cells.append(m_grid->currentIndex());
    const RecordGridDelegate::FontFlag flag = id == QLatin1String("Bold") ? RecordGridDelegate::Bold
                                              : id == QLatin1String("Italic")
                                                  ? RecordGridDelegate::Italic
                                                  : RecordGridDelegate::Underline;
    m_delegate->toggleFont(cells, flag);
    m_grid->viewport()->update();
}

void frmDblist::chooseFont()
{
    bool ok = false;
    const QFont font = Dialogs::instance().font(m_grid->font(), &ok);
    if (!ok)
        return;
    m_look.fontName = font.family();
    m_look.fontSize = font.pointSize() > 0 ? font.pointSize() : m_look.fontSize;
    m_look.bold = font.bold();
    m_look.italic = font.italic();
    m_look.underline = font.underline();
    m_look.strikeOut = font.strikeOut();
    m_look.write();
    applyLook();
}

void frmDblist::setToolSize(GridLook::ToolSize size)
{
    if (m_look.toolSize != size) {
        m_look.toolSize = size;
        m_look.write();
    }
    const int pixels = GridLook::iconSize(size);
    m_tools->setIconSize(QSize(pixels, pixels));
    for (QWidget *caption : std::as_const(m_captions)) {
        QFont font = caption->font();
        font.setPointSize(GridLook::captionPointSize(size));
        caption->setFont(font);
    }
}

void frmDblist::chooseColour(FavouritesCatalogue::Colour which)
{
    const qint64 current = which == FavouritesCatalogue::Colour::Back            ? m_back
                           : which == FavouritesCatalogue::Colour::BackAlternate ? m_backAlternate
                                                                                 : m_fore;
    bool ok = false;
    const QColor color = Dialogs::instance().color(OleColor::toColor(current, palette()), &ok);
    if (!ok)
        return;
    const qint64 ole = OleColor::fromColor(color);
    setColours(which == FavouritesCatalogue::Colour::Back ? ole : m_back,
               which == FavouritesCatalogue::Colour::BackAlternate ? ole : m_backAlternate,
               which == FavouritesCatalogue::Colour::Fore ? ole : m_fore);
    if (m_browser.favourites().contains(m_browser.path()))
        m_browser.favourites().setColour(m_browser.path(), which, ole);
}

void frmDblist::setColours(qint64 back, qint64 backAlternate, qint64 fore)
{
    m_back = back;
    m_backAlternate = backAlternate;
    m_fore = fore;
    paintColourButtons();
    QPalette colours = m_grid->palette();
    colours.setColor(QPalette::Base, OleColor::toColor(back, palette()));
    colours.setColor(QPalette::AlternateBase, OleColor::toColor(backAlternate, palette()));
    colours.setColor(QPalette::Text, OleColor::toColor(fore, palette()));
    m_grid->setPalette(colours);
    m_grid->setAlternatingRowColors(back != backAlternate);
}

void frmDblist::paintColourButtons()
{
    CmdBackcolor->setIcon(swatch(OleColor::toColor(m_back, palette())));
    cmdBackColorA->setIcon(swatch(OleColor::toColor(m_backAlternate, palette())));
    CmdForeColor->setIcon(swatch(OleColor::toColor(m_fore, palette())));
}

void frmDblist::fillSchemeBoxes()
{
    const QStringList names = ColorSchemes::names(m_info);
    for (QComboBox *box : {m_toolScheme, m_panelScheme}) {
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(-1);
        box->setPlaceholderText(tr("Scheme"));
    }
    onSchemeChosen(QString());
}

void frmDblist::onSchemeChosen(const QString &name)
{
    ColorSchemes::Scheme scheme;
    if (!name.isEmpty() && ColorSchemes::scheme(m_info, name, &scheme)) {
        m_previewFore = scheme.fontColor;
        m_previewBack = scheme.row1Color;
        m_previewBackAlternate = scheme.row2Color;
        for (QComboBox *box : {m_toolScheme, m_panelScheme})
            box->setCurrentIndex(box->findText(name));
    } else {
        m_previewFore = m_fore;
        m_previewBack = m_back;
        m_previewBackAlternate = m_backAlternate;
    }
    const QString text = OleColor::toColor(m_previewFore, palette()).name();
    m_preview->setText(
        QStringLiteral("<table width='100%' cellspacing='0' cellpadding='3'>"
                       "<tr><td bgcolor='%1'><font color='%3'>%4</font></td></tr>"
                       "<tr><td bgcolor='%2'><font color='%3'>%5</font></td></tr></table>")
            .arg(OleColor::toColor(m_previewBack, palette()).name(),
                 OleColor::toColor(m_previewBackAlternate, palette()).name(), text, tr("First row"),
                 tr("Alternate row")));
}

void frmDblist::CmdColorSave_Click()
{
    setColours(m_previewBack, m_previewBackAlternate, m_previewFore);
    const QString path = m_browser.path();
    if (m_browser.favourites().contains(path)) {
        FavouritesCatalogue &favourites = m_browser.favourites();
        favourites.setColour(path, FavouritesCatalogue::Colour::Back, m_previewBack);
        favourites.setColour(path, FavouritesCatalogue::Colour::BackAlternate,
                             m_previewBackAlternate);
        favourites.setColour(path, FavouritesCatalogue::Colour::Fore, m_previewFore);
    }
    m_colourPanel->hide();
    PlaySoundCue(SoundCue::Save);
}

void frmDblist::readAttributes()
{
    const int value = FileFacts::attributes(m_browser.path());
    // Only a file with exactly one attribute shows a tick.
    chkAttrArchive->setChecked(value == FileFacts::Archive);
    chkAttrHidden->setChecked(value == FileFacts::Hidden);
    chkAttrReadolny->setChecked(value == FileFacts::ReadOnly);
    chkAttrSystem->setChecked(value == FileFacts::System);
}

void frmDblist::onAttributeTicked(QCheckBox *box, int attribute)
{
    const QString path = m_browser.path();
    if (path.isEmpty()) {
        box->setChecked(false);
        return;
    }
    if (!FileFacts::setAttributes(path, box->isChecked() ? attribute : FileFacts::Normal)) {
        Dialogs::instance().message(
            attribute == FileFacts::System
                ? QStringLiteral("The selected function is not available on this system")
                : tr("The attributes of %1 cannot be changed").arg(QFileInfo(path).fileName()),
            windowTitle(), Dialogs::Icon::Information);
        readAttributes();
        return;
    }
    for (QCheckBox *other : {chkAttrArchive, chkAttrHidden, chkAttrReadolny, chkAttrSystem}) {
        if (other != box)
            other->setChecked(false);
    }
}
