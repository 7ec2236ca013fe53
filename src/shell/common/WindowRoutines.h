#pragma once

class QWidget;

// Places window in the middle of its screen (halves cut to whole numbers).
void CenterOnScreen(QWidget *window);
// Copies left, top, width and height of source onto target.
void CopyPlacement(QWidget *target, const QWidget *source);
