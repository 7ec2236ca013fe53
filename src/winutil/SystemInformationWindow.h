#pragma once

#include "SystemInformation.h"

#include <QWidget>

class QTreeWidget;

// The panel's System Information window: the computer's facts by section, and a button that
// copies them to the clipboard as text.
class SystemInformationWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SystemInformationWindow(QWidget *parent = nullptr);

    // Reads everything afresh.
    void refresh();
    const QList<SystemInformation::Section> &sections() const { return m_sections; }
    void copyToClipboard() const;

private:
    QTreeWidget *m_tree = nullptr; // tvInfo
    QList<SystemInformation::Section> m_sections;
};
