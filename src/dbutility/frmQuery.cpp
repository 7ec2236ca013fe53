#include "frmQuery.h"

#include "BrowseSql.h"
#include "DbBrowser.h"
#include "KeyedGrid.h"
#include "ListRowSource.h"
#include "Platform.h"
#include "QueryRunner.h"
#include "ThemeIcon.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace
{

const QString Application = QStringLiteral("Nuvela Utilities");
const QString Section = QStringLiteral("DBViewer");
const QString HistoryKey = QStringLiteral("QueryHistory");

} // namespace

frmQuery::frmQuery(DbBrowser &browser, const QString &initialSql, QWidget *parent)
    : QDialog(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("frmQuery"));
    setWindowTitle(tr("Query - %1").arg(browser.table()));
    setWindowIcon(ThemeIcon::get(QStringLiteral("utilities-terminal")));
    auto *layout = new QVBoxLayout(this);

    layout->addLayout(buildBoxes());

    auto *splitter = new QSplitter(Qt::Vertical, this);
    auto *top = new QWidget(splitter);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    m_editor = new QPlainTextEdit(top);
    m_editor->setObjectName(QStringLiteral("txtSql"));
    m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_editor->setPlainText(initialSql.trimmed());
    m_editor->setPlaceholderText(tr("Select * from [Table] where [Field] = 'value'"));
    topLayout->addWidget(m_editor, 1);
    m_error = new QLabel(top);
    m_error->setObjectName(QStringLiteral("lblError"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00020"));
    m_error->hide();
    topLayout->addWidget(m_error);
    m_grid = new KeyedGrid(splitter);
    m_grid->setObjectName(QStringLiteral("grdResult"));
    m_grid->verticalHeader()->show();
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblResult"));
    auto *runButton = buttons->addButton(tr("Run"), QDialogButtonBox::ActionRole);
    runButton->setObjectName(QStringLiteral("cmdRun"));
    runButton->setIcon(ThemeIcon::get(QStringLiteral("media-playback-start")));
    runButton->setToolTip(tr("Run the statement (F5 or Ctrl+Return)"));
    auto *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_result, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(runButton, &QPushButton::clicked, this, &frmQuery::run);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &frmQuery::run);
    connect(cboFiled1, &QComboBox::activated, this,
            [this] { insertField(cboFiled1, cboFiledType1); });
    connect(cboFiled2, &QComboBox::activated, this,
            [this] { insertField(cboFiled2, cboFiledType2); });
    connect(m_history, &QComboBox::activated, this, [this] {
        m_editor->setPlainText(m_history->currentText());
        m_editor->setFocus();
    });
    fillFieldBoxes();
    loadHistory();
    resize(900, 600);
}

QLayout *frmQuery::buildBoxes()
{
    auto *boxes = new QGridLayout;
    cboFiled1 = new QComboBox(this);
    cboFiled1->setObjectName(QStringLiteral("cboFiled1"));
    cboFiledType1 = new QComboBox(this);
    cboFiledType1->setObjectName(QStringLiteral("cboFiledType1"));
    cboFiled2 = new QComboBox(this);
    cboFiled2->setObjectName(QStringLiteral("cboFiled2"));
    cboFiledType2 = new QComboBox(this);
    cboFiledType2->setObjectName(QStringLiteral("cboFiledType2"));
    boxes->addWidget(new QLabel(tr("Field:"), this), 0, 0);
    boxes->addWidget(cboFiled1, 0, 1);
    boxes->addWidget(cboFiledType1, 0, 2);
    boxes->addWidget(new QLabel(tr("Field:"), this), 0, 3);
    boxes->addWidget(cboFiled2, 0, 4);
    boxes->addWidget(cboFiledType2, 0, 5);
    m_history = new QComboBox(this);
    m_history->setObjectName(QStringLiteral("cboHistory"));
    m_history->setToolTip(tr("Statements run before"));
    boxes->addWidget(new QLabel(tr("History:"), this), 1, 0);
    boxes->addWidget(m_history, 1, 1, 1, 5);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(4, 1);
    for (QComboBox *types : {cboFiledType1, cboFiledType2}) {
        types->setEnabled(false);
        types->setMinimumContentsLength(14);
    }

    return boxes;
}

void frmQuery::fillFieldBoxes()
{
    for (const FieldInfo &field : m_browser.fields()) {
        for (QComboBox *box : {cboFiled1, cboFiled2})
            box->addItem(field.name);
        for (QComboBox *box : {cboFiledType1, cboFiledType2})
            box->addItem(field.typeName);
    }
    for (QComboBox *box : {cboFiled1, cboFiled2, cboFiledType1, cboFiledType2})
        box->setCurrentIndex(box->count() > 0 ? 0 : -1);
    if (cboFiled2->count() > 1) {
        cboFiled2->setCurrentIndex(1);
        cboFiledType2->setCurrentIndex(1);
    }
}

void frmQuery::insertField(QComboBox *fields, QComboBox *types)
{
    types->setCurrentIndex(fields->currentIndex());
    m_editor->insertPlainText(BrowseSql::bracketed(fields->currentText()));
    m_editor->setFocus();
}

void frmQuery::loadHistory()
{
    m_history->clear();
    m_history->addItems(
        Platform::instance().setting(Application, Section, HistoryKey).toStringList());
    m_history->setCurrentIndex(-1);
}

bool frmQuery::run()
{
    const QString text = m_editor->toPlainText();
    if (text.trimmed().isEmpty() || !m_browser.source())
        return false;
    Platform &platform = Platform::instance();
    platform.setSetting(
        Application, Section, HistoryKey,
        QueryRunner::addToHistory(platform.setting(Application, Section, HistoryKey).toStringList(),
                                  text.trimmed()));
    loadHistory();
    const QueryRunner::Result result =
        QueryRunner::run(m_browser.source()->handle(), text, MaxRows);
    m_changes += result.changes;
    if (!result.ok) {
        showError(result.error, result.errorOffset, result.errorLine, result.errorColumn);
        return false;
    }
    m_error->hide();
    m_editor->setExtraSelections({});
    KeyedGridModel *model = m_grid->grid();
    if (!result.columns.isEmpty()) {
        QStringList format;
        for (const QString &column : result.columns)
            format << QString(column).replace(QLatin1Char('|'), QLatin1Char('/')).leftJustified(12);
        model->setFormatText(format.join(QLatin1Char('|')));
        model->setColumnKeys(result.columns);
        model->setRowSource(std::make_shared<ListRowSource>(result.rows));
        m_result->setText(result.truncated ? tr("The first %1 records").arg(result.rows.size())
                                           : tr("%1 records").arg(result.rows.size()));
    } else {
        m_result->setText(tr("%1 records changed").arg(result.changes));
    }
    return true;
}

void frmQuery::showError(const QString &message, int offset, int line, int column)
{
    m_error->setText(offset < 0 ? message
                                : tr("Line %1, column %2: %3").arg(line).arg(column).arg(message));
    m_error->show();
    m_result->clear();
    if (offset < 0) {
        m_editor->setExtraSelections({});
        return;
    }
    QTextCursor cursor(m_editor->document());
    cursor.setPosition(qMin(offset, m_editor->document()->characterCount() - 1));
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    mark.format.setUnderlineColor(QColor(0xb0, 0x00, 0x20));
    m_editor->setExtraSelections({mark});
    QTextCursor at = m_editor->textCursor();
    at.setPosition(cursor.anchor());
    m_editor->setTextCursor(at);
}
