#include "NotesViews.h"

#include "SqlText.h"

namespace
{

const QString DefaultSelect = QStringLiteral(
    "select id,DocumentName,date,Category1,Type,mDate,SerialNo,ext,Author,Version,Progress,Flags,"
    "path,bgcolor,DocType,Picfilelink from nv_notesdairy1 ");

} // namespace

QStringList NotesViews::alphabetCaptions()
{
    QStringList captions{QStringLiteral("All")};
    for (char letter = 'A'; letter <= 'V'; ++letter)
        captions << QString(QLatin1Char(letter));
    return captions;
}

QString NotesViews::alphabetSource(const QString &caption)
{
    if (caption == QLatin1String("All"))
        return DefaultSelect + QStringLiteral("order by documentname ");
    return DefaultSelect + QStringLiteral(" where DOCUMENTNAME like ") +
           SqlText::literal(SqlText::likeText(caption) + QLatin1Char('*')) +
           QStringLiteral(" order by documentname");
}

QString NotesViews::defaultCaptions()
{
    return QStringLiteral(
        "id|Document Name          |Date Cr.         |Category       |Desc           |Modi Date   "
        "     |Serial no |Ext         |Author              |Version|Progress  |Flags           |Pa"
        "th                         |bgcolor");
}

const QList<NotesViews::DocTypeTab> &NotesViews::docTypeTabs()
{
    static const QList<DocTypeTab> tabs = {
        {QStringLiteral("Notes"), QStringLiteral("where Doctype='Notes' or Doctype='Multimedia'"),
         Pane::Text},
        {QStringLiteral("Quicknote"), QStringLiteral("where Doctype='Quick Notes'"), Pane::Text},
        {QStringLiteral("Personal Records"), QStringLiteral("where Doctype='Prs Records'"),
         Pane::Text},
        {QStringLiteral("Letter"), QStringLiteral("where Doctype='Letters'"), Pane::Text},
        {QStringLiteral("List"), QStringLiteral("where Doctype='List'"), Pane::List},
        {QStringLiteral("Picture/Scaned Documents"), QStringLiteral("where Doctype='Picture'"),
         Pane::Text},
    };
    return tabs;
}

QString NotesViews::docTypeSource(int tab)
{
    const QList<DocTypeTab> &tabs = docTypeTabs();
    if (tab < 1 || tab > tabs.size())
        return QString();
    return DefaultSelect + tabs[tab - 1].condition + QStringLiteral(" order by documentname ");
}

QString NotesViews::byCategorySource()
{
    return QStringLiteral("select id,CATEGORY1,[DATE],DOCUMENTNAME,[TYPE],[MDATE],SERIALNO,ext,"
                          "Author,Version,Progress,PATH,bgcolor,doctype from nv_notesdairy1 order "
                          "by CATEGORY1");
}

QString NotesViews::byCategoryCaptions()
{
    return QStringLiteral(
        "id|Category       |Date             |Document Name      |Desc        |Modi Date     |Seri"
        "al No|Ext          |Author                         |Version      |Progress |Path         "
        "                       ");
}

QString NotesViews::byDateSource()
{
    return QStringLiteral("select id,[DATE],CATEGORY1,DOCUMENTNAME,[TYPE],[MDATE],SERIALNO,ext,"
                          "Author,Version,Progress,PATH,bgcolor,Doctype from nv_notesdairy1 order "
                          "by [DATE]");
}

QString NotesViews::byDateCaptions()
{
    return QStringLiteral(
        "id|Date             |Category     |Document Name      |Desc        |Modi Date     |Seria"
        "l No    |Ext        |Author                      |Version       |Progress|Path          "
        "                        ");
}

QStringList NotesViews::sortViewColumns()
{
    return {QStringLiteral("Category1"), QStringLiteral("date"),    QStringLiteral("documentname"),
            QStringLiteral("mdate"),     QStringLiteral("type"),    QStringLiteral("path"),
            QStringLiteral("Author"),    QStringLiteral("Version"), QStringLiteral("Progress")};
}

QString NotesViews::contentSource(const QString &condition)
{
    return DefaultSelect + QStringLiteral("where ") + condition +
           QStringLiteral(" order by documentname ");
}

QString NotesViews::contentLikeCondition(const QString &text)
{
    return QStringLiteral("content like ") +
           SqlText::literal(QLatin1Char('*') + SqlText::likeText(text) + QLatin1Char('*'));
}

QString NotesViews::byCategoryViewSource()
{
    return QStringLiteral("select CATEGORY1,DOCUMENTNAME,DATE,mDate,TYPE,SERIALNO,PATH,"
                          "usertemplate,id from nv_notesdairy1 where DATE is not null order by "
                          "CATEGORY1,[DATE]");
}

QString NotesViews::byCategoryViewCaptions()
{
    return QStringLiteral("Category         |Document Name              |Date            |Mod. Date"
                          "       |Desc   |SerialNo|Path                                  ");
}

QString NotesViews::byMonthViewSource()
{
    return QStringLiteral("select  month([MDATE]) as MONTH,[DATE],DOCUMENTNAME,TYPE,CATEGORY1,"
                          "SERIALNO,PATH,usertemplate,id from nv_notesdairy1 where MDATE is not "
                          "null order by year([MDATE]) desc,month([MDATE]) desc,[MDATE] desc,"
                          "[DATE] desc");
}

QString NotesViews::byMonthViewCaptions()
{
    return QStringLiteral("Modified Date    |Date                 |Document Name              |Cat"
                          "egory           ||SerialNo|Path                                  ");
}
