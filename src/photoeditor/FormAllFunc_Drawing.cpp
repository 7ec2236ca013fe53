// The Photo Editor's drawing tools on the view: pencil, eraser, line, circle, text and the
// pointer's rubber-band selection, with the pen's width, colour, style and draw mode.
#include "FormAllFunc.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "DrawStyle.h"
#include "PhotoMessages.h"
#include "PictureView.h"
#include "ToolStrip.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace
{

// The tool id of each draw tool, for its button.
QString toolId(const QString &tool)
{
    if (tool == QLatin1String("Line") || tool == QLatin1String("Circle"))
        return tool;
    return QStringLiteral("ID_") + tool;
}

// A cursor from the program's resources, or the fallback when the file is missing.
QCursor resourceCursor(const QString &file, QPoint hotSpot, Qt::CursorShape fallback)
{
    const QString path = AppFolders::inProgramFolder(QStringLiteral("UserFiles/Misc/") + file);
    const QPixmap pixmap(path);
    if (pixmap.isNull())
        return QCursor(fallback);
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

} // namespace

void FormAllFunc::chooseDrawTool(const QString &tool)
{
    if (tool == QLatin1String("Text") && m_document.isEmpty()) {
        Dialogs::instance().message(PhotoMessages::TextNeedsPicture, PhotoMessages::Title);
        // The tool stays as it was, and so does its button.
        if (QAction *current = m_draw->tool(toolId(m_drawTool)))
            current->setChecked(true);
        return;
    }
    finishText();
    m_drawTool = tool;
    if (QAction *button = m_draw->tool(toolId(tool)))
        button->setChecked(true);
    if (tool != QLatin1String("Pointer"))
        m_view->setSelection({});
    updateCursor();
}

void FormAllFunc::updateCursor()
{
    if (m_drawTool == QLatin1String("Pencil"))
        m_view->setCursor(resourceCursor(QStringLiteral("pencil.cur"), {0, 31}, Qt::CrossCursor));
    else if (m_drawTool == QLatin1String("Eraser"))
        m_view->setCursor(resourceCursor(QStringLiteral("ERASE02.ICO"), {8, 24}, Qt::CrossCursor));
    else if (m_drawTool == QLatin1String("Text"))
        m_view->setCursor(Qt::IBeamCursor);
    else if (m_drawTool == QLatin1String("Pointer"))
        m_view->setCursor(Qt::ArrowCursor);
    else
        m_view->setCursor(Qt::CrossCursor);
}

void FormAllFunc::chooseDrawMode(int index)
{
    const DrawStyle::Entry *entry = DrawStyle::byText(m_drawMode->itemText(index));
    if (!entry)
        return;
    if (entry->kind == DrawStyle::Kind::PenStyle)
        m_pen.style = entry->value;
    else
        m_pen.mode = entry->value;
}

void FormAllFunc::chooseColour()
{
    bool ok = false;
    const QColor color = Dialogs::instance().color(m_pen.color, &ok);
    if (ok && color.isValid())
        setBrushColor(color);
}

void FormAllFunc::setBrushColor(const QColor &color)
{
    m_pen.color = color;
    QPalette palette = m_brushColor->palette();
    palette.setColor(QPalette::Window, color);
    m_brushColor->setPalette(palette);
    m_brushColor->setToolTip(color.name());
}

void FormAllFunc::viewPressed(QPoint at)
{
    if (m_document.isEmpty())
        return;
    m_start = m_last = at;
    if (m_drawTool == QLatin1String("Pencil") || m_drawTool == QLatin1String("Eraser")) {
        tellDropped(m_document.beginEdit(m_drawTool));
        m_stroking = true;
        viewMoved(at, true);
    } else if (m_drawTool == QLatin1String("Text")) {
        placeText(at);
    } else {
        m_stroking = true;
        if (m_drawTool == QLatin1String("Pointer"))
            m_view->setSelection({});
    }
}

void FormAllFunc::viewMoved(QPoint at, bool buttonDown)
{
    const QImage &picture = m_document.image();
    std::optional<QColor> color;
    if (picture.rect().contains(at))
        color = picture.pixelColor(at);
    m_status->setText(PhotoRules::statusText(at, color));
    if (!buttonDown || !m_stroking)
        return;
    if (m_drawTool == QLatin1String("Pencil")) {
        m_view->pictureChanged(PicturePainter::line(m_document.pixels(), m_last, at, m_pen));
    } else if (m_drawTool == QLatin1String("Eraser")) {
        m_view->pictureChanged(
            PicturePainter::erase(m_document.pixels(), m_last, at, std::max(8, m_pen.width * 4)));
    } else if (m_drawTool == QLatin1String("Pointer")) {
        m_view->setSelection(QRect(m_start, at).normalized());
    }
    m_last = at;
}

void FormAllFunc::viewReleased(QPoint at)
{
    if (!m_stroking)
        return;
    m_stroking = false;
    if (m_drawTool == QLatin1String("Line") || m_drawTool == QLatin1String("Circle")) {
        tellDropped(m_document.beginEdit(m_drawTool));
        const QRect changed =
            m_drawTool == QLatin1String("Line")
                ? PicturePainter::line(m_document.pixels(), m_start, at, m_pen)
                : PicturePainter::ellipse(m_document.pixels(), m_start, at, m_pen);
        m_view->pictureChanged(changed);
    } else if (m_drawTool == QLatin1String("Pointer")) {
        const QRect band = QRect(m_start, at).normalized();
        const bool bigEnough =
            band.width() >= RubberBandMinimum && band.height() >= RubberBandMinimum;
        m_view->setSelection(bigEnough ? band : QRect());
    }
}

void FormAllFunc::placeText(QPoint at)
{
    finishText();
    bool ok = false;
    const QFont font = Dialogs::instance().font(m_textFont, &ok);
    if (!ok)
        return;
    m_textFont = font;
    m_textAt = at;
    m_textRect = QRect();
    tellDropped(m_document.beginEdit(tr("Text")));
    QFont shown = font;
    if (shown.pointSizeF() > 0)
        shown.setPointSizeF(shown.pointSizeF() * m_view->zoom());
    m_text->setFont(shown);
    m_text->clear();
    m_text->move(m_view->toView(QRect(at, QSize(1, 1))).topLeft());
    m_text->resize(std::max(160, m_view->width() - m_text->x()), m_text->sizeHint().height());
    m_text->show();
    m_text->setFocus();
}

void FormAllFunc::textTyped(const QString &text)
{
    // Each key redraws the whole text on the picture as it was when the box was placed.
    m_document.restoreEditStart();
    const QRect now =
        PicturePainter::text(m_document.pixels(), m_textAt, text, m_textFont, m_pen.color);
    m_view->pictureChanged(m_textRect.united(now));
    m_textRect = now;
}

void FormAllFunc::finishText()
{
    if (m_text && m_text->isVisible()) {
        m_text->hide();
        m_text->clear();
    }
}
