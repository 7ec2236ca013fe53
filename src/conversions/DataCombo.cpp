#include "DataCombo.h"

#include <QLineEdit>

DataCombo::DataCombo(const QString &objectName, bool editable, QWidget *parent) : QComboBox(parent)
{
    setObjectName(objectName);
    setEditable(editable);
    if (editable)
        setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    setMaxVisibleItems(20);
}

void DataCombo::setItems(const QStringList &items)
{
    const QString shown = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(items);
    if (isEditable())
        setEditText(shown);
    else
        setCurrentIndex(findText(shown));
}

void DataCombo::showPopup()
{
    Q_EMIT popupAboutToShow();
    QComboBox::showPopup();
}
