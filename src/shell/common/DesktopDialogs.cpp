#include "DesktopDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("Nuvela Utilities") : title;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void DesktopDialogs::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), titleOr(title), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool DesktopDialogs::question(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString DesktopDialogs::inputText(const QString &prompt, const QString &title,
                                  const QString &initial, bool *ok)
{
    return QInputDialog::getText(QApplication::activeWindow(), titleOr(title), prompt,
                                 QLineEdit::Normal, initial, ok);
}

QString DesktopDialogs::openFileName(const QString &title, const QString &folder,
                                     const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), titleOr(title), folder,
                                        qtFilter(filter));
}

QString DesktopDialogs::saveFileName(const QString &title, const QString &folder,
                                     const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titleOr(title), folder,
                                        qtFilter(filter));
}

QString DesktopDialogs::folderName(const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), titleOr(title), folder);
}

QColor DesktopDialogs::color(const QColor &initial, bool *ok)
{
    const QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (ok)
        *ok = chosen.isValid();
    return chosen.isValid() ? chosen : initial;
}

QFont DesktopDialogs::font(const QFont &initial, bool *ok)
{
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, initial, QApplication::activeWindow());
    if (ok)
        *ok = accepted;
    return accepted ? chosen : initial;
}
