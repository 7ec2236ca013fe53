#include "RtfControlWords.h"

#include <iterator>
#include <unordered_map>
#include <utility>

namespace
{

using Word = RtfControlWords::Word;

constexpr std::pair<std::string_view, Word> Entries[] = {
    {"rtf", Word::Rtf},
    {"fonttbl", Word::FontTable},
    {"colortbl", Word::ColorTable},
    {"stylesheet", Word::SkippedDestination},
    {"info", Word::SkippedDestination},
    {"header", Word::SkippedDestination},
    {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination},
    {"headerf", Word::SkippedDestination},
    {"footer", Word::SkippedDestination},
    {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination},
    {"footerf", Word::SkippedDestination},
    {"footnote", Word::SkippedDestination},
    {"annotation", Word::SkippedDestination},
    {"comment", Word::SkippedDestination},
    {"xe", Word::SkippedDestination},
    {"tc", Word::SkippedDestination},
    {"txe", Word::SkippedDestination},
    {"revtbl", Word::SkippedDestination},
    {"filetbl", Word::SkippedDestination},
    {"template", Word::SkippedDestination},
    {"objdata", Word::SkippedDestination},
    {"objclass", Word::SkippedDestination},
    {"objname", Word::SkippedDestination},
    {"nonshppict", Word::SkippedDestination},
    {"listname", Word::SkippedDestination},
    {"levelnumbers", Word::SkippedDestination},
    {"pntxta", Word::SkippedDestination},
    {"pntxtb", Word::SkippedDestination},
    {"ftnsep", Word::SkippedDestination},
    {"ftnsepc", Word::SkippedDestination},
    {"ftncn", Word::SkippedDestination},
    {"aftnsep", Word::SkippedDestination},
    {"aftnsepc", Word::SkippedDestination},
    {"aftncn", Word::SkippedDestination},
    {"shppict", Word::ShapePicture},
    {"pict", Word::Picture},
    {"field", Word::Field},
    {"fldinst", Word::FieldInstruction},
    {"fldrslt", Word::FieldResult},
    {"listtable", Word::ListTable},
    {"listoverridetable", Word::ListOverrideTable},
    {"list", Word::List},
    {"listlevel", Word::ListLevel},
    {"leveltext", Word::LevelText},
    {"listoverride", Word::ListOverride},
    {"listtext", Word::ListText},
    {"pntext", Word::ListText},
    {"pn", Word::ParaNumbering},
    {"ansi", Word::Ansi},
    {"mac", Word::Mac},
    {"pc", Word::Pc},
    {"pca", Word::Pca},
    {"ansicpg", Word::AnsiCodePage},
    {"deff", Word::DefaultFont},
    {"fcharset", Word::FontCharset},
    {"cpg", Word::FontCodePage},
    {"red", Word::Red},
    {"green", Word::Green},
    {"blue", Word::Blue},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},
    {"bin", Word::Binary},
    {"plain", Word::Plain},
    {"f", Word::Font},
    {"fs", Word::FontSize},
    {"b", Word::Bold},
    {"i", Word::Italic},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldb", Word::Underline},
    {"uldash", Word::Underline},
    {"uldashd", Word::Underline},
    {"uldashdd", Word::Underline},
    {"ulhwave", Word::Underline},
    {"ulldash", Word::Underline},
    {"ulth", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"ululdbwave", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"strike", Word::Strike},
    {"striked", Word::Strike},
    {"super", Word::Superscript},
    {"sub", Word::Subscript},
    {"nosupersub", Word::NoSuperSub},
    {"cf", Word::Foreground},
    {"cb", Word::Background},
    {"highlight", Word::Background},
    {"chcbpat", Word::Background},
    {"v", Word::Hidden},
    {"pard", Word::Pard},
    {"ql", Word::AlignLeft},
    {"qc", Word::AlignCenter},
    {"qr", Word::AlignRight},
    {"qj", Word::AlignJustify},
    {"qd", Word::AlignJustify},
    {"li", Word::LeftIndent},
    {"lin", Word::LeftIndent},
    {"ri", Word::RightIndent},
    {"rin", Word::RightIndent},
    {"fi", Word::FirstIndent},
    {"sb", Word::SpaceBefore},
    {"sa", Word::SpaceAfter},
    {"intbl", Word::InTable},
    {"itap", Word::TableLevel},
    {"ls", Word::ListNumber},
    {"ilvl", Word::ListLevelNumber},
    {"listid", Word::ListId},
    {"levelnfc", Word::LevelFormat},
    {"levelnfcn", Word::LevelFormat},
    {"pnlvlblt", Word::NumberingBullet},
    {"pnlvlbody", Word::NumberingBody},
    {"pnlvl", Word::NumberingLevel},
    {"pndec", Word::NumberingDecimal},
    {"pnucrm", Word::NumberingUpperRoman},
    {"pnlcrm", Word::NumberingLowerRoman},
    {"pnucltr", Word::NumberingUpperLetter},
    {"pnlcltr", Word::NumberingLowerLetter},
    {"par", Word::Par},
    {"line", Word::Line},
    {"tab", Word::Tab},
    {"cell", Word::Cell},
    {"row", Word::Row},
    {"nestcell", Word::NestedCell},
    {"nestrow", Word::NestedRow},
    {"trowd", Word::RowDefaults},
    {"cellx", Word::CellRight},
    {"emdash", Word::EmDash},
    {"endash", Word::EnDash},
    {"bullet", Word::Bullet},
    {"lquote", Word::LeftQuote},
    {"rquote", Word::RightQuote},
    {"ldblquote", Word::LeftDoubleQuote},
    {"rdblquote", Word::RightDoubleQuote},
    {"emspace", Word::EmSpace},
    {"enspace", Word::EnSpace},
    {"chftn", Word::FootnoteMark},
    {"pngblip", Word::PngBlip},
    {"jpegblip", Word::JpegBlip},
    {"picwgoal", Word::PictureWidthGoal},
    {"pichgoal", Word::PictureHeightGoal},
    {"picscalex", Word::PictureScaleX},
    {"picscaley", Word::PictureScaleY},
};

const std::unordered_map<std::string_view, Word> &words()
{
    static const std::unordered_map<std::string_view, Word> table(std::begin(Entries),
                                                                  std::end(Entries));
    return table;
}

} // namespace

std::optional<RtfControlWords::Word> RtfControlWords::find(std::string_view name)
{
    const auto found = words().find(name);
    if (found == words().end())
        return std::nullopt;
    return found->second;
}

bool RtfControlWords::understoodAfterStar(Word word)
{
    switch (word) {
    case Word::FieldInstruction:
    case Word::ParaNumbering:
    case Word::ListTable:
    case Word::ListOverrideTable:
    case Word::ShapePicture:
    case Word::Picture:
        return true;
    default:
        return false;
    }
}
