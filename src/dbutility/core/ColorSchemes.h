#pragma once

#include <QStringList>

class Store;

// The record grid's colour schemes, rows of WIA_ColorScheme in the information store: a text
// colour and the backgrounds of rows and alternate rows, as OLE colour values.
class ColorSchemes
{
public:
    struct Scheme {
        QString name;
        qint64 fontColor = 0;
        qint64 row1Color = 0;
        qint64 row2Color = 0;
    };

    // The scheme names, each once.
    static QStringList names(const Store &info);
    // The scheme of that name; false when there is none.
    static bool scheme(const Store &info, const QString &name, Scheme *scheme);
};
