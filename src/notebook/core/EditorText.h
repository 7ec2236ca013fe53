#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

class QTextCursor;
class QTextDocument;

// The editors' text routines that need no window: date and time stamps, case changes, the
// whole-word search of FindWord and the colour palettes.
namespace EditorText
{

enum class Stamp { Medium, Long, Short };

// " Time: " and the time as "hh:mm AP" (medium), "hh:mm:ss AP" (long) or "H:mm" (short, the hour
// of the day without a leading zero): at 3:07 pm the medium stamp is " Time: 03:07 PM".
QString timeStamp(Stamp kind, QTime time);
// "  Date: " and the date: medium "dd MMM-yyyy" when national, else "MMM dd-yyyy"; short
// "d MMM-yy" or "MMM d-yy"; long "dddd MMMM dd yyyy" whatever the flag. English names.
QString dateStamp(Stamp kind, QDate date, bool national);

enum class Case { Lower, Upper, Invert };
// Invert swaps the case of each letter and leaves other characters alone.
QString changeCase(const QString &text, Case kind);

// FindWord: the next whole-word match of word after from (wrapping to the start), selected;
// a null cursor when there is none. Letters compare without regard to case.
QTextCursor findWord(const QTextDocument &document, const QString &word, const QTextCursor &from);
// The line of position, counted from 0: paragraphs and line breaks start lines, as the text
// holds them (wrapping on the screen does not).
int lineOf(const QTextDocument &document, int position);

// The full editor's palettes as Windows RGB values: the text colours D1 to D26 and the
// background colours L1 to L28.
const QList<qint64> &textPalette();
const QList<qint64> &backPalette();

} // namespace EditorText
