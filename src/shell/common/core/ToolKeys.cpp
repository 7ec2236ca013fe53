#include "ToolKeys.h"

#include <QList>

namespace
{

struct OwnKey {
    const char *key;
    const char *caption;
};

constexpr OwnKey OwnKeys[] = {
    {"filemanager", "File Organizer"},
    {"dbutility", "Database Utility"},
    {"notebook", "Notebook"},
    {"form1", "Conversions"},
};

} // namespace

bool ToolKeys::isOwnKey(const QString &key)
{
    return !caption(key).isEmpty();
}

QString ToolKeys::caption(const QString &key)
{
    for (const OwnKey &own : OwnKeys) {
        if (key == QLatin1String(own.key))
            return QString::fromLatin1(own.caption);
    }
    return {};
}

bool ToolKeys::isSiblingKey(const QString &key)
{
    static const QStringList keys = {"form4",      "form5",     "form8",    "form10",   "form15",
                                     "form38",     "fomwinfo1", "fomwinfo", "frmcrncy", "formj",
                                     "formkunits", "form19",    "freedb"};
    return keys.contains(key);
}

QList<std::pair<QString, SuiteCode>> SuiteCodes::all()
{
    struct Group {
        const char *title;
        const char *program;
        const char *codes; // code=key pairs separated by blanks; "code=" has no key
    };
    static const Group groups[] = {
        {"Contacts", "Nuvela Contacts.exe",
         "ct= abook=frmselector Sh=frmselector1 pdialer=frmdialer email=formemail "
         "letters=frmletter blist=frmbday ftree=frmfamily ass=frmassoparty"},
        {"Scheduler", "Nuvela Scheduler.exe",
         "di= sd=form1 jd=formnotebook pt=formpending wt=frmtble mt=frmdailytask"},
        {"PocketMoney", "Nuvela PocketMoney.exe",
         "pm= a=frmacctpass g=frmggift s=formsharetrans intcal=frmical"},
        {"PersonalRecords", "Nuvela PersonalRecords.exe",
         "mpr= nd=formnotes Id=important Mr=medical Fr=bank1 Ar=auto1 Or=userdefined1 "
         "baby=frmgrowth"},
        {"Photos", "Nuvela Photos.exe",
         "ph= or=frmslidemas vw=frmsndata dv=frmsndirectory al=frmalbum pr=frmtransition "
         "ed=formallfunc pwp=formhtml scr=formhtmlscr"},
        {"Hobbies", "Nuvela Hobbies.exe",
         "hb= mu=music bo=books vm=videos1 tp=frmtravel mp3=frmplaylist cd=gadgets "
         "cs=cardscores1 lp=combine"},
        {"HomeManager", "Nuvela HomeManager.exe",
         "hm= vs=formmain sp=splist rc=recipe hma=fomhelpnew ft=frmfdtble hc=fomhandycnt "
         "hmpp=fomparty HI=clothes hmbr=fomweight"},
        {"Kids", "Nuvela Kids.exe",
         "kd= c=frmclassmates ac=formmoney sc=frmtble srecord=frmkidsrecord Nd=form5"},
        {"Link & Sync", "Nuvela Link & Sync.exe", "Link="},
        {"Information", "Nuvela Information.exe", "mi="},
    };
    QList<std::pair<QString, SuiteCode>> codes;
    for (const Group &g : groups) {
        const QStringList pairs = QString::fromLatin1(g.codes).split(' ', Qt::SkipEmptyParts);
        for (const QString &pair : pairs) {
            const qsizetype eq = pair.indexOf('=');
            codes.append({pair.left(eq), SuiteCode{QString::fromLatin1(g.program), pair.mid(eq + 1),
                                                   QString::fromLatin1(g.title)}});
        }
    }
    return codes;
}

std::optional<SuiteCode> SuiteCodes::find(const QString &code)
{
    static const QList<std::pair<QString, SuiteCode>> codes = all();
    for (const auto &[c, target] : codes) {
        if (c == code)
            return target;
    }
    return std::nullopt;
}
