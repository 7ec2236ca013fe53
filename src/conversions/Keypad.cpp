#include "Keypad.h"

#include "SharedRoutines.h"
#include "ThemeIcon.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

Keypad::Keypad(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Framekeypad"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto *grid = new QGridLayout(this);
    grid->setSpacing(2);
    grid->setContentsMargins(4, 4, 4, 4);
    const QStringList keys = {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                              QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                              QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("0"), QStringLiteral("."), QStringLiteral("-")};
    for (int i = 0; i < keys.size(); ++i) {
        // A control array: every key has the same name and differs by its caption.
        auto *key = new QPushButton(keys.at(i), this);
        key->setObjectName(QStringLiteral("Command9"));
        key->setFocusPolicy(Qt::NoFocus);
        key->setFixedSize(34, 28);
        connect(key, &QPushButton::clicked, this, [this, key] { press(key->text()); });
        grid->addWidget(key, i / 3, i % 3);
    }
    auto *cancel =
        new QPushButton(ThemeIcon::get(QStringLiteral("edit-clear")), tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    cancel->setFocusPolicy(Qt::NoFocus);
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (m_active)
            m_active->clear();
        PlaySoundCue(SoundCue::Cancel);
    });
    auto *ok = new QPushButton(ThemeIcon::get(QStringLiteral("dialog-ok")), tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdok"));
    ok->setFocusPolicy(Qt::NoFocus);
    connect(ok, &QPushButton::clicked, this, [this] {
        PlaySoundCue(SoundCue::Save);
        hide();
    });
    grid->addWidget(cancel, 4, 0, 1, 3);
    grid->addWidget(ok, 5, 0, 1, 3);
    adjustSize();
    hide();
}

void Keypad::addField(QLineEdit *field)
{
    field->installEventFilter(this);
}

bool Keypad::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field) {
            m_active = field;
            Q_EMIT fieldEntered(field);
            // The handler may have sent the focus elsewhere.
            if (field->hasFocus())
                showUnder(field);
        }
    }
    return QFrame::eventFilter(watched, event);
}

void Keypad::showUnder(QLineEdit *field)
{
    QWidget *host = parentWidget();
    QPoint at = field->mapTo(host, QPoint(0, field->height()));
    // Keep it inside the window, flipping above the field when there is no room below.
    if (at.y() + height() > host->height())
        at.setY(field->mapTo(host, QPoint(0, 0)).y() - height());
    at.setX(std::clamp(at.x(), 0, std::max(0, host->width() - width())));
    at.setY(std::max(0, at.y()));
    move(at);
    raise();
    show();
}

void Keypad::press(const QString &caption)
{
    if (m_active)
        m_active->setText(m_active->text() + caption);
}
