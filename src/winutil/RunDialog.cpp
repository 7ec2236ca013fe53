#include "RunDialog.h"

#include "CommandLine.h"
#include "Dialogs.h"
#include "ThemeIcon.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

RunDialog::RunDialog(const QStringList &history, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRun"));
    setWindowTitle(tr("Run"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("system-run")));

    auto *icon = new QLabel(this);
    icon->setPixmap(ThemeIcon::get(QStringLiteral("system-run")).pixmap(32, 32));
    auto *prompt = new QLabel(tr("Type a program with its arguments, or the path of a folder or "
                                 "document, to open it."),
                              this);
    prompt->setWordWrap(true);
    m_command = new QComboBox(this);
    m_command->setObjectName(QStringLiteral("cboCommand"));
    m_command->setEditable(true);
    m_command->setInsertPolicy(QComboBox::NoInsert);
    m_command->addItems(history);
    m_command->setCurrentIndex(history.isEmpty() ? -1 : 0);
    m_command->lineEdit()->selectAll();
    m_command->setMinimumWidth(340);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    QPushButton *browse = buttons->addButton(tr("&Browse..."), QDialogButtonBox::ActionRole);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &RunDialog::browse);
    const auto updateOk = [ok](const QString &text) { ok->setEnabled(!text.trimmed().isEmpty()); };
    connect(m_command, &QComboBox::editTextChanged, this, updateOk);
    updateOk(m_command->currentText());

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(prompt, 0, 1);
    layout->addWidget(new QLabel(tr("&Open:"), this), 1, 0);
    layout->addWidget(m_command, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    qobject_cast<QLabel *>(layout->itemAtPosition(1, 0)->widget())->setBuddy(m_command);
    setFixedHeight(sizeHint().height());
}

QString RunDialog::command() const
{
    return m_command->currentText().trimmed();
}

void RunDialog::browse()
{
    const QString file = Dialogs::instance().openFileName(tr("Browse"), QDir::homePath(),
                                                          tr("Programs|*|All Files|*"));
    if (!file.isEmpty())
        m_command->setEditText(CommandLine::quote(file));
}
