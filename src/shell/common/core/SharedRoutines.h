#pragma once

#include <QDate>
#include <QString>

// Small routines every tool window uses the same way. Paths accept "/" everywhere and "\" too
// on Windows.

enum class SoundCue { Add, Cancel, Del, Edit, Save };

// The wave file of a cue under the program folder's UserFiles\Misc\sound.
QString SoundCuePath(SoundCue cue);
// Plays without waiting; a missing file plays nothing and reports nothing.
void PlaySoundCue(const QString &path);
void PlaySoundCue(SoundCue cue);

// Shell special folder by number; "" when unknown.
QString GetSpecialFolder(int folderNumber);
QString WindowsFolder();
void ShowHelpFile(const QString &path);
// Starts a program without waiting.
bool RunProgram(const QString &path);

// The text after the last separator (the whole text when there is none).
QString FileNameOfPath(const QString &path);
// The text before the last separator, without it (the whole text when there is none).
QString FolderOfPath(const QString &path);
// "*." and everything after the first "." of name; "" when name has no ".".
QString WildcardOf(const QString &name);
// A sibling program's file in the program folder, with or without ".exe"; "" when absent.
QString SiblingProgramPath(const QString &exeName);

// The date label of the main window: "DD MMM-YYYY" when national, else "MMM DD-YYYY".
QString MainDateText(QDate date, bool national);
// Display format of grid date columns: "dd MMM-yy" when national, else "MMM dd-yy".
QString GridDateFormat(bool national);
// Formats with English month names whatever the locale, as the stored formats are fixed.
QString FormatDate(const QDateTime &value, const QString &format);

class QSqlTableModel;
// Asks "Delete the record ? " (Yes/No, stop icon) when model has rows; on Yes deletes row and
// refreshes the model. True when a record was deleted.
bool DeleteCurrentRecord(QSqlTableModel *model, int row);
