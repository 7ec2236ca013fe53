#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QPointer>

class QLineEdit;

// The on-screen keypad (Framekeypad) of the numeric fields: entering a field makes it the
// active one and shows the keypad just below it; a key appends its caption to the active field,
// Cancel empties it, OK closes the keypad.
class Keypad : public QFrame
{
    Q_OBJECT
public:
    // parent is the widget the keypad floats over; fields must lie inside it.
    explicit Keypad(QWidget *parent);

    void addField(QLineEdit *field);
    QLineEdit *activeField() const { return m_active; }

Q_SIGNALS:
    // A numeric field received the focus (before the keypad is shown under it).
    void fieldEntered(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showUnder(QLineEdit *field);
    void press(const QString &caption);

    QPointer<QLineEdit> m_active;
};
