#pragma once

#include <QString>

// The photo editor's messages. Command failures are reported by error number, as the editor
// always has: 1020 for nothing to cut, copy or paste, 321 and 481 for a file that is no picture,
// 5 for an action that failed; other numbers are passed over.
namespace PhotoMessages
{

inline const QString Title = QStringLiteral("Nuvela Photos");
inline const QString OverwriteTitle = QStringLiteral("Nuvela Picture");

inline const QString SelectFirst = QStringLiteral("Select to Cut/Copy/Paste.");
inline const QString NotPicture = QStringLiteral("This is not a valid picture.");
inline const QString Failed =
    QStringLiteral("Sorry! The requested action could not be performed due to some error.");
inline const QString Later = QStringLiteral("This Function to be made later");
inline const QString Overwrite =
    QStringLiteral("This will overwrite existing picture press OK to continue");
inline const QString SaveChanges =
    QStringLiteral("You did not save the changes. Do you wish to save it now?");
inline const QString TextNeedsPicture =
    QStringLiteral("To draw text, first open any photo and then select this option. ");

// The editor's own, beyond the numbered ones.
inline const QString TooLarge = QStringLiteral(
    "This picture is too large to open: %1. Pictures of up to %2 megapixels can be edited.");
inline const QString Damaged = QStringLiteral(
    "This picture file is incomplete; the part that could not be read is shown grey.");
inline const QString NoScanner =
    QStringLiteral("Scanning is not available on this system: no scanner interface is installed.");
inline const QString NoCapture = QStringLiteral("The screen could not be captured.");
inline const QString BadSize = QStringLiteral(
    "Give the new size as width x height in pixels (for example 800 x 600) or as a percent "
    "(for example 50%).");

enum Error { ErrSelectFirst = 1020, ErrNotPicture = 321, ErrNoPicture = 481, ErrFailed = 5 };

// The message of an error number; empty for numbers that are passed over.
inline QString forError(int number)
{
    switch (number) {
    case ErrSelectFirst:
        return SelectFirst;
    case ErrNotPicture:
    case ErrNoPicture:
        return NotPicture;
    case ErrFailed:
        return Failed;
    default:
        return {};
    }
}

} // namespace PhotoMessages
