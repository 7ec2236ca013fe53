#pragma once

#include <QString>

class QTextBlock;
class QTextDocument;
class QTextFrame;

// The text of a document as a word processor shows it: one paragraph a line, list items led
// by their bullet or number and a tab, one line per table row with the cells separated by a tab.
class RtfPlainText
{
public:
    static QString fromDocument(const QTextDocument &document);

private:
    static void appendFrame(const QTextFrame *frame, QString &out);
    static QString blockText(const QTextBlock &block);
};
