#include "DocumentText.h"

#include "CodePage.h"
#include "ListDocument.h"
#include "RtfPlainText.h"
#include "RtfReader.h"

#include <QFile>
#include <QImageReader>
#include <QStringDecoder>
#include <QTextDocument>

#include <algorithm>

namespace
{

QString withoutControls(QString text)
{
    text.removeIf(
        [](QChar c) { return c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r'; });
    return text;
}

bool isPictureSuffix(const QString &suffix)
{
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return !suffix.isEmpty() && formats.contains(suffix.toLower().toLatin1());
}

} // namespace

DocumentText::Kind DocumentText::kindOf(const QString &path)
{
    const QString last = path.right(3).toUpper();
    if (last == QLatin1String("RTF"))
        return Kind::RichText;
    if (last == QLatin1String("TXT") || last == QLatin1String("DOC"))
        return Kind::PlainText;
    if (last == QLatin1String("NVS"))
        return Kind::List;
    const qsizetype dot = path.lastIndexOf('.');
    const qsizetype slash = path.lastIndexOf('/');
    if (dot > slash && isPictureSuffix(path.mid(dot + 1)))
        return Kind::Picture;
    return Kind::Other;
}

QString DocumentText::plainOfBytes(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (utf8.hasError())
        text = CodePage(1252).decode(view.data(), view.size());
    return withoutControls(std::move(text));
}

QByteArray DocumentText::readFile(const QString &path, bool *ok)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.read(MaxFileBytes) : QByteArray();
}

QString DocumentText::readPlainFile(const QString &path, bool *ok)
{
    bool opened = false;
    const QByteArray bytes = readFile(path, &opened);
    if (ok)
        *ok = opened;
    return opened ? plainOfBytes(bytes) : QString();
}

QString DocumentText::plainOfRtf(const QByteArray &rtf, bool *damaged)
{
    QTextDocument document;
    RtfReader reader;
    const bool whole = reader.read(rtf, &document);
    if (damaged)
        *damaged = !whole;
    return RtfPlainText::fromDocument(document);
}

QString DocumentText::plainOfContent(const QString &content)
{
    if (content.isEmpty())
        return QString();
    // RTF source is 7-bit text; a copy that holds other characters was stored as UTF-8.
    const bool latin1 =
        std::all_of(content.cbegin(), content.cend(), [](QChar c) { return c.unicode() < 0x100; });
    return plainOfRtf(latin1 ? content.toLatin1() : content.toUtf8());
}

QString DocumentText::forIndex(const QString &path, const QString &content)
{
    switch (kindOf(path)) {
    case Kind::RichText: {
        bool ok = false;
        const QByteArray rtf = readFile(path, &ok);
        if (ok)
            return plainOfRtf(rtf);
        break;
    }
    case Kind::PlainText: {
        bool ok = false;
        QString text = readPlainFile(path, &ok);
        if (ok)
            return text;
        break;
    }
    case Kind::List: {
        if (const auto list = ListDocument::load(path))
            return list->plainText();
        break;
    }
    case Kind::Picture:
    case Kind::Other:
        break;
    }
    return plainOfContent(content);
}
