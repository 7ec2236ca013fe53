#pragma once

#include <QtGlobal>

#include <optional>
#include <string_view>
#include <unordered_map>

// The RTF control words the reader acts on. They come in groups that one handler each serves;
// a group's words are contiguous in Word and groupOf() knows where each group ends.
class RtfControlWords
{
public:
    enum class Group {
        Destination,
        List,
        Numbering,
        Document,
        Character,
        Paragraph,
        Break,
        Picture,
    };

    enum class Word : quint8 {
        // Group::Destination
        Rtf,
        FontTable,
        ColorTable,
        SkippedDestination,
        ShapePicture,
        Picture,
        Field,
        FieldInstruction,
        FieldResult,
        ListText,
        ParaNumbering,
        StyleSheet,
        // Group::List
        ListTable,
        ListOverrideTable,
        List,
        ListLevel,
        LevelText,
        ListOverride,
        ListNumber,
        ListLevelNumber,
        ListId,
        LevelFormat,
        // Group::Numbering; the five styles stay in this order, from NumberingDecimal
        NumberingBullet,
        NumberingBody,
        NumberingLevel,
        NumberingDecimal,
        NumberingUpperRoman,
        NumberingLowerRoman,
        NumberingUpperLetter,
        NumberingLowerLetter,
        // Group::Document
        Ansi,
        Mac,
        Pc,
        Pca,
        AnsiCodePage,
        DefaultFont,
        FontCharset,
        FontCodePage,
        Red,
        Green,
        Blue,
        Unicode,
        UnicodeSkip,
        Binary,
        // Group::Character
        Plain,
        Font,
        FontSize,
        Bold,
        Italic,
        Underline,
        UnderlineNone,
        Strike,
        Superscript,
        Subscript,
        NoSuperSub,
        Foreground,
        Background,
        Hidden,
        // Group::Paragraph
        Pard,
        AlignLeft,
        AlignCenter,
        AlignRight,
        AlignJustify,
        LeftIndent,
        RightIndent,
        FirstIndent,
        SpaceBefore,
        SpaceAfter,
        InTable,
        TableLevel,
        PageBreakBefore,
        TabPosition,
        TabRight,
        TabCenter,
        TabDecimal,
        LineSpacing,
        LineMultiple,
        Style,
        OutlineLevel,
        // Group::Break: breaks, table cells and rows, special characters
        Par,
        Line,
        Tab,
        Cell,
        Row,
        NestedCell,
        NestedRow,
        RowDefaults,
        CellRight,
        EmDash,
        EnDash,
        Bullet,
        LeftQuote,
        RightQuote,
        LeftDoubleQuote,
        RightDoubleQuote,
        EmSpace,
        EnSpace,
        FootnoteMark,
        Page,
        // Group::Picture
        PngBlip,
        JpegBlip,
        PictureWidthGoal,
        PictureHeightGoal,
        PictureScaleX,
        PictureScaleY,
        PictureWidth,
        PictureHeight,
        WindowsMetafile,
        EnhancedMetafile,
    };

    // The word spelt name (case matters, as in RTF), or nothing for a word the reader ignores.
    static std::optional<Word> find(std::string_view name)
    {
        const std::unordered_map<std::string_view, Word> &words = table();
        const auto found = words.find(name);
        if (found == words.end())
            return std::nullopt;
        return found->second;
    }

    static constexpr Group groupOf(Word word)
    {
        if (word <= Word::StyleSheet)
            return Group::Destination;
        if (word <= Word::LevelFormat)
            return Group::List;
        if (word <= Word::NumberingLowerLetter)
            return Group::Numbering;
        if (word <= Word::Binary)
            return Group::Document;
        if (word <= Word::Hidden)
            return Group::Character;
        if (word <= Word::OutlineLevel)
            return Group::Paragraph;
        if (word <= Word::Page)
            return Group::Break;
        return Group::Picture;
    }

    // Destinations that \* may introduce and that the reader understands; after \* every other
    // word makes its group skipped.
    static bool understoodAfterStar(Word word);

private:
    static const std::unordered_map<std::string_view, Word> &table();
};
