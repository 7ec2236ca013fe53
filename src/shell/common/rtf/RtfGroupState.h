#pragma once

#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextOption>

// What an RTF group carries: a group starts with a copy of its parent's state and drops its
// changes when it ends.
struct RtfGroupState {
    // Where the text of the group goes.
    enum class Destination {
        Text,
        Skip,
        FontTable,
        ColorTable,
        ListTable,
        List,
        ListLevel,
        LevelText,
        ListOverride,
        ListText,
        ParaNumbering,
        Picture,
        FieldInstruction,
        StyleSheet,
    };

    // Character properties; sizes in half-points, colours as colour-table indexes (0 = auto).
    struct Chars {
        int font = -1;
        int halfPoints = 24;
        int foreground = 0;
        int background = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
        QString href;
        bool operator==(const Chars &) const = default;
    };

    // Paragraph properties; lengths in twips.
    struct Paragraph {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int listOverride = 0;
        int listLevel = 0;
        bool inTable = false;
        bool pageBreakBefore = false;
        // \txN with the kind of the \tq word before it; positions in twips.
        QList<QTextOption::Tab> tabs;
        QTextOption::TabType nextTab = QTextOption::LeftTab;
        // \slN and \slmultN: 0 is single spacing.
        int lineSpacing = 0;
        bool lineMultiple = false;
        int style = 0;         // \sN
        int outlineLevel = -1; // \outlinelevelN
    };

    Destination destination = Destination::Text;
    int unicodeSkip = 1;
    Chars chars;
    Paragraph para;
};
