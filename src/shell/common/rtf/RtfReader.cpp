#include "RtfReader.h"

#include <QTextDocument>

#include <algorithm>

namespace
{

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

bool RtfReader::read(const QByteArray &rtf, QTextDocument *document)
{
    reset(document);
    m_tokens.reset(rtf.constData(), rtf.constData() + rtf.size());
    if (!rtf.startsWith("{\\rtf"))
        m_damage |= Damage::NotRtf;
    // Loading is not an edit: no undo steps, and the loaded document is unmodified.
    const bool undoRedo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    m_builder.beginEdit();
    parse();
    m_builder.endEdit();
    document->setUndoRedoEnabled(undoRedo);
    document->setModified(false);
    // \deff names the font of text that names none: the document's own font.
    if (const QString family = m_fonts.family(m_fonts.defaultFont()); !family.isEmpty()) {
        QFont font = document->defaultFont();
        font.setFamilies({family});
        document->setDefaultFont(font);
    }
    m_builder.release();
    return m_damage == Damage::None;
}

void RtfReader::reset(QTextDocument *document)
{
    m_damage = Damage::None;
    m_stack.assign(1, RtfGroupState{});
    m_overflowDepth = 0;
    m_skipCount = 0;
    m_ansiCodePage = 1252;
    m_footnoteCount = 0;
    m_ignorable = false;
    m_documentEnded = false;
    m_bytes.clear();
    m_fonts.clear();
    m_colors.clear();
    m_lists.clear();
    m_picture.clear();
    m_field.clear();
    m_styles.clear();
    m_builder.reset(document);
    m_builder.setRowCounter([this] { return m_tokens.tableRowsAhead(); });
}

void RtfReader::parse()
{
    using Kind = RtfTokenizer::Kind;
    while (!m_documentEnded) {
        const RtfTokenizer::Token token = m_tokens.next();
        if (token.kind == Kind::End)
            break;
        switch (token.kind) {
        case Kind::GroupStart:
            flushBytes();
            pushGroup();
            break;
        case Kind::GroupEnd:
            flushBytes();
            popGroup();
            break;
        case Kind::Text:
            readText(token.text);
            break;
        case Kind::HexByte:
            readHexByte(token.byte);
            break;
        case Kind::Symbol:
            readSymbol(token.byte);
            break;
        case Kind::Word:
            readWord(token);
            break;
        case Kind::End:
            break;
        }
    }
    flushBytes();
    if (m_documentEnded) {
        // Word processors ignore what follows the document group; only real text is damage.
        if (!m_tokens.onlyBlanksLeft())
            m_damage |= Damage::UnbalancedBraces;
        return;
    }
    if (m_stack.size() > 1 || m_overflowDepth > 0)
        m_damage |= Damage::Truncated;
    m_builder.endInput(state());
}

void RtfReader::readText(std::string_view bytes)
{
    if (m_overflowDepth > 0)
        return;
    const char *start = bytes.data();
    qsizetype size = qsizetype(bytes.size());
    if (m_skipCount > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_skipCount, size);
        m_skipCount -= int(skipped);
        start += skipped;
        size -= skipped;
    }
    m_ignorable = false;
    appendBytes(start, size);
}

void RtfReader::readHexByte(char byte)
{
    if (m_overflowDepth > 0)
        return;
    m_ignorable = false;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    appendBytes(&byte, 1);
}

void RtfReader::readSymbol(char symbol)
{
    flushBytes();
    if (m_overflowDepth > 0)
        return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    handleSymbol(symbol);
}

void RtfReader::readWord(const RtfTokenizer::Token &token)
{
    flushBytes();
    if (m_skipCount > 0) {
        // A word in place of a character \u skips; the data of \bin goes with it.
        --m_skipCount;
        if (token.text == "bin" && token.hasParam)
            m_tokens.take(std::clamp<qsizetype>(token.param, 0, m_tokens.remaining()));
        return;
    }
    handleWord(token.text, token.hasParam, token.param);
}

void RtfReader::pushGroup()
{
    m_ignorable = false;
    m_skipCount = 0;
    if (m_overflowDepth > 0 || int(m_stack.size()) > MaxDepth) {
        m_damage |= Damage::TooDeep;
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfReader::popGroup()
{
    m_ignorable = false;
    m_skipCount = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1) {
        m_damage |= Damage::UnbalancedBraces;
        return;
    }
    if (m_stack.size() == 2) {
        // The document group ends: its last paragraph takes the properties it had inside.
        m_builder.endDocument(state());
        m_documentEnded = true;
    }
    const Destination ended = state().destination;
    m_stack.pop_back();
    if (ended != state().destination)
        endDestination(ended);
}

void RtfReader::setDestination(Destination destination)
{
    if (state().destination != Destination::Skip)
        state().destination = destination;
}

void RtfReader::endDestination(Destination ended)
{
    switch (ended) {
    case Destination::FontTable:
        m_fonts.finishName();
        break;
    case Destination::ColorTable:
        m_colors.finish();
        break;
    case Destination::List:
        m_lists.finishList();
        break;
    case Destination::ListOverride:
        m_lists.finishOverride();
        break;
    case Destination::FieldInstruction:
        state().chars.href = m_field.hyperlinkTarget();
        m_field.clear();
        break;
    case Destination::Picture:
        if (state().destination == Destination::Text)
            insertPicture();
        m_picture.clear();
        break;
    default:
        break;
    }
}

void RtfReader::insertPicture()
{
    if (m_picture.isMetafile()) {
        m_builder.insertKeptPicture(m_picture, state());
        return;
    }
    if (!m_picture.isShown())
        return;
    QImage image;
    if (!m_picture.decode(image)) {
        m_damage |= Damage::BadPicture;
        return;
    }
    m_builder.insertPicture(image, m_picture, state());
}

int RtfReader::textCodePage() const
{
    const RtfGroupState &s = m_stack.back();
    const int font = s.destination == Destination::FontTable
                         ? m_fonts.entry()
                         : (s.chars.font >= 0 ? s.chars.font : m_fonts.defaultFont());
    const int codePage = m_fonts.codePage(font);
    return codePage > 0 ? codePage : m_ansiCodePage;
}

void RtfReader::appendBytes(const char *data, qsizetype size)
{
    if (size <= 0)
        return;
    switch (state().destination) {
    case Destination::Text:
        if (!state().chars.hidden)
            m_bytes.append(data, size);
        break;
    case Destination::ListText:
    case Destination::LevelText:
    case Destination::FieldInstruction:
        m_bytes.append(data, size);
        break;
    case Destination::StyleSheet:
        // A style's name ends at ';', as a font's does.
        for (qsizetype i = 0; i < size; ++i) {
            if (data[i] == ';') {
                flushBytes();
                m_styles.finishEntry();
            } else {
                m_bytes.append(data[i]);
            }
        }
        break;
    case Destination::FontTable:
        // ';' ends a font entry; it is never the second byte of a double-byte character.
        for (qsizetype i = 0; i < size; ++i) {
            if (data[i] == ';') {
                flushBytes();
                m_fonts.finishName();
            } else {
                m_bytes.append(data[i]);
            }
        }
        break;
    case Destination::ColorTable:
        m_colors.addBytes(data, size);
        break;
    case Destination::Picture:
        m_picture.appendHex(data, size);
        break;
    default:
        break;
    }
}

void RtfReader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString text;
    if (isAscii(m_bytes)) {
        text = QString::fromLatin1(m_bytes);
    } else if (!m_codePages.decode(textCodePage(), m_bytes.constData(), m_bytes.size(), text)) {
        m_damage |= Damage::UnknownCodePage;
    }
    m_bytes.clear();
    addText(text);
}

void RtfReader::appendChar(char16_t c)
{
    flushBytes();
    if (state().destination == Destination::Text && state().chars.hidden)
        return;
    addText(QString(QChar(c)));
}

void RtfReader::addText(const QString &text)
{
    switch (state().destination) {
    case Destination::Text:
        m_builder.addText(text, state());
        break;
    case Destination::ListText:
        m_builder.addListText(text);
        break;
    case Destination::LevelText:
        m_lists.addLevelText(text);
        break;
    case Destination::FieldInstruction:
        m_field.append(text);
        break;
    case Destination::FontTable:
        m_fonts.addName(text);
        break;
    case Destination::StyleSheet:
        m_styles.addName(text);
        break;
    default:
        break;
    }
}
