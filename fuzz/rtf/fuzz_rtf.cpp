// libFuzzer target: any bytes go through the RTF reader, and what it read through the writer
// and the reader again. Crashes, hangs, sanitizer reports and a writer output that does not
// read back to itself are the failures.
#include "RtfPlainText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    RtfReader reader;
    reader.read(input, &document);
    (void)RtfPlainText::fromDocument(document);
    const QByteArray written = RtfWriter().write(document);
    QTextDocument again;
    if (!reader.read(written, &again))
        abort(); // the writer's own output must always read back undamaged
    // What the writer wrote is a fixed point: reading and writing it again changes nothing.
    if (RtfWriter().write(again) != written)
        abort();
    return 0;
}
