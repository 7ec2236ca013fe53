#include "WordListPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QVBoxLayout>

WordListPanel::WordListPanel(const Store &store, Mode mode, QWidget *parent)
    : QWidget(parent), m_words(store), m_mode(mode)
{
    setObjectName(QStringLiteral("fraWordList"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    TabKeyword = new QTabBar(this);
    TabKeyword->setObjectName(QStringLiteral("TabKeyword"));
    TabKeyword->setUsesScrollButtons(true);
    TabKeyword->setExpanding(false);
    TabKeyword->setDrawBase(false);
    for (const QString &subject : tabSubjects(mode))
        TabKeyword->addTab(subject);
    TabKeyword->installEventFilter(this);
    layout->addWidget(TabKeyword);
    if (mode == Mode::Editor) {
        auto *subjects = new QGridLayout;
        CmbSub = new QComboBox(this);
        CmbSub->setObjectName(QStringLiteral("CmbSub"));
        CmbSub1 = new QComboBox(this);
        CmbSub1->setObjectName(QStringLiteral("CmbSub1"));
        const QStringList known = m_words.subjects();
        for (QComboBox *list : {CmbSub, CmbSub1}) {
            list->addItem(WordList::All);
            list->addItems(known);
            connect(list, &QComboBox::currentTextChanged, this, &WordListPanel::onSubjects);
        }
        Chkall = new QCheckBox(tr("All"), this);
        Chkall->setObjectName(QStringLiteral("Chkall"));
        connect(Chkall, &QCheckBox::toggled, this, &WordListPanel::onSubjects);
        subjects->addWidget(CmbSub, 0, 0);
        subjects->addWidget(CmbSub1, 0, 1);
        subjects->addWidget(Chkall, 0, 2);
        layout->addLayout(subjects);
    }
    lblSubject = new QLabel(this);
    lblSubject->setObjectName(QStringLiteral("lblSubject"));
    QFont bold = lblSubject->font();
    bold.setBold(true);
    lblSubject->setFont(bold);
    layout->addWidget(lblSubject);
    grdWord = new QListWidget(this);
    grdWord->setObjectName(QStringLiteral("grdWord"));
    grdWord->setUniformItemSizes(true);
    grdWord->installEventFilter(this);
    layout->addWidget(grdWord, 1);
    connect(grdWord, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { choose(grdWord->row(item)); });
    connect(TabKeyword, &QTabBar::currentChanged, this, &WordListPanel::onTab);
    onTab(TabKeyword->currentIndex());
}

QStringList WordListPanel::tabSubjects(Mode mode)
{
    QStringList subjects = {"English",           "Physics",   "Chemistry",   "Biology",   "History",
                            "Political Science", "Computers", "Electronics", "Mechanics", "Maths",
                            "UserDefine"};
    if (mode == Mode::Notebook)
        subjects.insert(9, QStringLiteral("Hindi"));
    else
        subjects << WordList::All;
    return subjects;
}

int WordListPanel::load(const QString &statement)
{
    const QStringList words = m_words.words(statement);
    grdWord->clear();
    grdWord->addItems(words);
    if (!words.isEmpty())
        grdWord->setCurrentRow(0);
    return int(words.size());
}

int WordListPanel::complete(const QString &prefix)
{
    if (m_mode == Mode::Notebook)
        return load(WordList::notebookCompletionStatement(prefix));
    return load(
        WordList::completionStatement(prefix, CmbSub->currentText(), CmbSub1->currentText()));
}

QStringList WordListPanel::words() const
{
    QStringList words;
    for (int row = 0; row < grdWord->count(); ++row)
        words << grdWord->item(row)->text();
    return words;
}

void WordListPanel::choose(int row)
{
    if (row >= 0 && row < grdWord->count())
        Q_EMIT wordChosen(grdWord->item(row)->text());
}

void WordListPanel::focusWords()
{
    grdWord->setFocus();
}

void WordListPanel::onTab(int index)
{
    if (index < 0)
        return;
    const QString subject = TabKeyword->tabText(index);
    load(WordList::subjectStatement(subject));
    lblSubject->setText(m_mode == Mode::Notebook ? tr("Common Word - %1").arg(subject) : subject);
}

void WordListPanel::onSubjects()
{
    const bool all = Chkall->isChecked();
    if (all) {
        for (QComboBox *list : {CmbSub, CmbSub1}) {
            const QSignalBlocker quiet(list);
            list->setCurrentText(WordList::All);
        }
    }
    load(WordList::subjectsStatement(CmbSub->currentText(), CmbSub1->currentText(), all));
    lblSubject->setText(CmbSub->currentText() + QStringLiteral(" +") + CmbSub1->currentText());
}

bool WordListPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == grdWord) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            choose(grdWord->currentRow());
            return true;
        }
        if (key == Qt::Key_Right) {
            TabKeyword->setFocus();
            return true;
        }
    } else if (watched == TabKeyword && key == Qt::Key_Left) {
        grdWord->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
