#pragma once

#include <QComboBox>

// A unit list that is filled from the information store each time it drops down, so that the
// window's current choices decide its contents. The chosen text is kept across a refill.
class DataCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit DataCombo(const QString &objectName, bool editable, QWidget *parent = nullptr);

    // Replaces the items, keeping the text shown.
    void setItems(const QStringList &items);
    void showPopup() override;

Q_SIGNALS:
    // The list is about to drop down: the owner refills it now.
    void popupAboutToShow();
};
