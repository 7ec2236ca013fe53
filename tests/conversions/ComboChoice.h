#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Chooses text in a drop-down list as a user does: open the list (which refills it), move to
// the item and press Enter. False when the opened list has no such item.
inline bool chooseInList(QComboBox *combo, const QString &text)
{
    if (!combo)
        return false;
    combo->showPopup();
    const int row = combo->findText(text);
    if (row < 0) {
        combo->hidePopup();
        return false;
    }
    combo->view()->setCurrentIndex(combo->model()->index(row, combo->modelColumn()));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    return combo->currentText() == text;
}

// Types text into an editable list and presses Enter.
inline void typeInList(QComboBox *combo, const QString &text)
{
    combo->setEditText(text);
    // Keys reach the list itself, which hands them to its line edit.
    QTest::keyClick(combo, Qt::Key_Return);
}

// The items a list offers when it is opened.
inline QStringList openedItems(QComboBox *combo)
{
    combo->showPopup();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    combo->hidePopup();
    return items;
}
