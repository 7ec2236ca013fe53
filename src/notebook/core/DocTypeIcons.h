#pragma once

#include <QString>

// The icon drawn in the DocumentName cell of each grid row by its DocType (ApplyDocTypeIcons).
class DocTypeIcons
{
public:
    struct Icon {
        QString control;   // the icon control of the window ("ImgNote", "ImgOther", ...)
        QString themeIcon; // the freedesktop icon that stands for it
    };

    // "Notes" ImgNote, "Quick Notes" ImgQuickNote, "Audio" ImgAudio, "Picture" ImgPicture,
    // "Letters" ImgLetter, "Prs Records" ImgPr, "List" ImgList; anything else, "Multimedia"
    // included, ImgOther. DocTypes compare exactly.
    static Icon of(const QString &docType);
};
