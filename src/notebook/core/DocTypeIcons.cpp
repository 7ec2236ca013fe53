#include "DocTypeIcons.h"

DocTypeIcons::Icon DocTypeIcons::of(const QString &docType)
{
    struct Entry {
        const char *docType;
        const char *control;
        const char *themeIcon;
    };
    static const Entry entries[] = {
        {"Notes", "ImgNote", "text-x-generic"},
        {"Quick Notes", "ImgQuickNote", "accessories-text-editor"},
        {"Audio", "ImgAudio", "audio-x-generic"},
        {"Picture", "ImgPicture", "image-x-generic"},
        {"Letters", "ImgLetter", "mail-message-new"},
        {"Prs Records", "ImgPr", "x-office-address-book"},
        {"List", "ImgList", "x-office-spreadsheet"},
    };
    for (const Entry &entry : entries) {
        if (docType == QLatin1String(entry.docType))
            return {QLatin1String(entry.control), QLatin1String(entry.themeIcon)};
    }
    return {QStringLiteral("ImgOther"), QStringLiteral("text-x-generic-template")};
}
