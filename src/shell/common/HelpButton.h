#pragma once

#include <QToolButton>

// A window's help button: its tooltip is the nv_tooltip text of the window's code, as the data
// store holds it each time the pointer rests on it; a missing row leaves the tooltip as it was.
// Clicking opens the help pages.
class HelpButton : public QToolButton
{
    Q_OBJECT
public:
    explicit HelpButton(const QString &code, QWidget *parent = nullptr);
    QString code() const { return m_code; }

protected:
    bool event(QEvent *event) override;

private:
    QString m_code;
};

// Sets widget's tooltip to the nv_tooltip text of code.
void ShowToolTip(QWidget *widget, const QString &code);
