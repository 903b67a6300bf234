// The control words this reader knows, as data: each name with what it does. Looked up
// once for every control word of a file, so the lookup is an open-addressing table.

#include "formats/rtf/RtfReader.h"

#include <algorithm>
#include <initializer_list>

namespace formats::rtf::detail {

namespace {

int clampInt(int32_t v, int32_t lo, int32_t hi) { return std::clamp(v, lo, hi); }

// A toggle word without a parameter, or with one other than 0, switches on.
bool on(const Word &w) { return !w.hasParam || w.param != 0; }

void setFlag(Reader &r, const Word &w, int32_t flag)
{
    State &s = r.st();
    if (on(w))
        s.chr.flags |= uint16_t(flag);
    else
        s.chr.flags &= uint16_t(~flag);
}

// Destinations

void destSkip(Reader &r, const Word &, int32_t) { r.skipGroup(); }

void destText(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        r.skipGroup();
}

// \pntext: shown as text unless its paragraph turns out to be a list item.
void destListMarker(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text) {
        r.skipGroup();
        return;
    }
    r.flushPending();
    r.markerStart_ = r.text_.size();
    r.markerEnd_ = -1;
    r.markerDepth_ = r.stack_.size();
}

void destListProps(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text) {
        r.skipGroup();
        return;
    }
    r.st().dest = Dest::ListProps;
    r.st().para.list = NoList;
}

void listWord(Reader &r, const Word &w, int32_t which) { r.listWord(which, w); }

// \pnlvlblt, \pnlvlbody and the number styles, inside \pn.
void listKind(Reader &r, const Word &, int32_t kind)
{
    State &s = r.st();
    if (s.dest != Dest::ListProps)
        return;
    if (kind == NoList) // \pnlvlbody: numbered, decimal unless a style follows
        s.para.list = s.para.list == NoList || s.para.list == ListBullet ? uint8_t(ListDecimal) : s.para.list;
    else
        s.para.list = uint8_t(kind);
}

void destFontTable(Reader &r, const Word &, int32_t)
{
    r.st().dest = Dest::FontTable;
    r.currentFontEntry_ = nullptr;
}

void destStyleSheet(Reader &r, const Word &, int32_t)
{
    r.st().dest = Dest::StyleSheet;
    r.styleOpen_ = false;
}

void destColorTable(Reader &r, const Word &, int32_t)
{
    r.st().dest = Dest::ColorTable;
    r.red_ = r.green_ = r.blue_ = 0;
    r.colorSeen_ = false;
}

void destUpr(Reader &r, const Word &, int32_t)
{
    if (r.st().dest == Dest::Text)
        r.st().dest = Dest::Upr;
    else
        r.skipGroup();
}

void destUd(Reader &r, const Word &, int32_t)
{
    State &s = r.st();
    if (s.dest == Dest::Upr || s.dest == Dest::Text)
        s.dest = Dest::Text;
    else
        r.skipGroup();
}

// Text

void character(Reader &r, const Word &, int32_t c) { r.putChar(char32_t(c)); }

void footnoteNumber(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.flushPending();
    for (const QChar ch : QString::number(++r.footnoteNumber_))
        r.putCharRaw(ch.unicode());
}

// \par, and \page with page set.
void paragraphEnd(Reader &r, const Word &, int32_t page)
{
    State &s = r.st();
    if (s.dest != Dest::Text)
        return;
    r.flushPending();
    if (s.para.flags & InTable) {
        r.endParagraph(false, true);
        r.parInCell_ = true;
    } else {
        r.endParagraph();
        if (page)
            r.pageBreakNext_ = true;
    }
}

void cellEnd(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.flushPending();
    r.endCell();
}

void rowEnd(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.flushPending();
    r.endRow();
}

// A nested table stays inside its cell: its cells are separated by tabs, its rows are
// paragraphs of the cell.
void nestedCellEnd(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.flushPending();
    r.nestTabPending_ = true;
}

void nestedRowEnd(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.flushPending();
    r.endParagraph(false, true);
    r.parInCell_ = true;
}

// Row definitions: \trowd starts one, \cellxN gives a cell's right edge.
void rowDefaults(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text)
        return;
    r.rowCellx_.clear();
    r.rowBorders_ = false;
    r.rowHeader_ = false;
}

void cellEdge(Reader &r, const Word &w, int32_t)
{
    if (r.st().dest == Dest::Text && r.rowCellx_.size() < size_t(MaxTableColumns))
        r.rowCellx_.push_back(std::clamp(w.param, 0, 20 * MaxTwips));
}

void cellBorder(Reader &r, const Word &, int32_t) { r.rowBorders_ = true; }
void headerRow(Reader &r, const Word &, int32_t) { r.rowHeader_ = true; }

void unicode(Reader &r, const Word &w, int32_t)
{
    if (w.hasParam) {
        r.putUnicode(w.param);
        r.skipFallback_ = r.st().uc;
    }
}

void unicodeSkip(Reader &r, const Word &w, int32_t)
{
    r.st().uc = uint8_t(w.hasParam ? std::clamp(w.param, 0, 255) : 1);
}

void binary(Reader &r, const Word &w, int32_t) { r.skipBin(w.param); }

// Code pages and fonts

void codePage(Reader &r, const Word &, int32_t cp)
{
    r.ansiCodePage_ = cp;
    r.fontTableChanged();
    r.refreshDecoder();
}

void ansiCodePage(Reader &r, const Word &w, int32_t)
{
    if (w.hasParam && w.param > 0 && w.param <= 65535)
        codePage(r, w, w.param);
}

void defaultFont(Reader &r, const Word &w, int32_t)
{
    State &s = r.st();
    if (s.dest == Dest::Text && w.hasParam) {
        r.defaultFont_ = w.param;
        if (s.chr.font < 0)
            r.setFont(w.param);
    }
}

void font(Reader &r, const Word &w, int32_t)
{
    if (!w.hasParam)
        return;
    const Dest dest = r.st().dest;
    if (dest == Dest::FontTable) {
        auto found = r.fonts_.find(w.param);
        if (found == r.fonts_.end()) {
            if (int(r.fonts_.size()) >= MaxFontTableEntries) {
                r.fail(QStringLiteral("The file's font table has more than %1 entries, so it cannot be "
                                      "read; it is probably damaged.")
                           .arg(MaxFontTableEntries));
                return;
            }
            found = r.fonts_.emplace(w.param, FontEntry{}).first;
        }
        found->second = FontEntry{};
        r.currentFontEntry_ = &found->second;
        r.fontEntryDepth_ = r.stack_.size();
        r.fontTableChanged();
        r.refreshDecoder();
    } else if (dest == Dest::Text || dest == Dest::Upr) {
        r.setFont(w.param);
    }
}

void fontCharset(Reader &r, const Word &w, int32_t)
{
    if (r.st().dest == Dest::FontTable && r.currentFontEntry_ && w.hasParam) {
        r.currentFontEntry_->charset = w.param;
        r.fontTableChanged();
        r.refreshDecoder();
    }
}

void fontCodePage(Reader &r, const Word &w, int32_t)
{
    if (r.st().dest == Dest::FontTable && r.currentFontEntry_ && w.hasParam && w.param > 0 && w.param <= 65535) {
        r.currentFontEntry_->codePage = w.param;
        r.fontTableChanged();
        r.refreshDecoder();
    }
}

// Character properties

void plain(Reader &r, const Word &, int32_t)
{
    State &s = r.st();
    const int32_t font = s.chr.font;
    s.chr = CharProps{};
    s.chr.font = font;
    r.setFont(r.defaultFont_);
}

void underline(Reader &r, const Word &w, int32_t style)
{
    r.st().chr.underline = on(w) ? uint8_t(style) : uint8_t(UlNone);
}

void underlineNone(Reader &r, const Word &, int32_t) { r.st().chr.underline = UlNone; }

void fontSize(Reader &r, const Word &w, int32_t)
{
    // 1638 points is the largest size word processors offer.
    r.st().chr.halfPoints = w.hasParam && w.param > 0 ? std::min(w.param, 3276) : DefaultHalfPoints;
}

void foreground(Reader &r, const Word &w, int32_t) { r.st().chr.fg = std::max(w.param, 0); }
void background(Reader &r, const Word &w, int32_t) { r.st().chr.bg = std::max(w.param, 0); }
void highlight(Reader &r, const Word &w, int32_t) { r.st().chr.highlight = std::max(w.param, 0); }
void underlineColor(Reader &r, const Word &w, int32_t) { r.st().chr.ulColor = std::max(w.param, 0); }

// \super and \sub (shift 0), \up and \dn (shift 1), which count as such only with a
// positive shift (their default is 6).
void verticalAlign(Reader &r, const Word &w, int32_t align, bool shift)
{
    State &s = r.st();
    const bool shifted = shift ? (!w.hasParam || w.param > 0) : on(w);
    if (shifted)
        s.chr.valign = uint8_t(align);
    else if (s.chr.valign == align)
        s.chr.valign = VNormal;
}
void super(Reader &r, const Word &w, int32_t shift) { verticalAlign(r, w, VSuper, shift != 0); }
void sub(Reader &r, const Word &w, int32_t shift) { verticalAlign(r, w, VSub, shift != 0); }
void noSuperSub(Reader &r, const Word &, int32_t) { r.st().chr.valign = VNormal; }

// Paragraph properties

void pard(Reader &r, const Word &, int32_t)
{
    r.st().para = ParaProps{};
    r.st().tabAlign = r.st().tabLeader = 0;
}
void tabWord(Reader &r, const Word &w, int32_t which) { r.tabWord(which, w); }
void alignment(Reader &r, const Word &, int32_t align) { r.st().para.align = uint8_t(align); }
void leftIndent(Reader &r, const Word &w, int32_t) { r.st().para.li = clampInt(w.param, -MaxTwips, MaxTwips); }
void rightIndent(Reader &r, const Word &w, int32_t) { r.st().para.ri = clampInt(w.param, -MaxTwips, MaxTwips); }
void firstIndent(Reader &r, const Word &w, int32_t) { r.st().para.fi = clampInt(w.param, -MaxTwips, MaxTwips); }
void spaceBefore(Reader &r, const Word &w, int32_t) { r.st().para.sb = clampInt(w.param, 0, MaxTwips); }
void spaceAfter(Reader &r, const Word &w, int32_t) { r.st().para.sa = clampInt(w.param, 0, MaxTwips); }
void setParaFlag(Reader &r, const Word &, int32_t flag) { r.st().para.flags |= uint8_t(flag); }
void clearParaFlag(Reader &r, const Word &, int32_t flag) { r.st().para.flags &= uint8_t(~flag); }

void pageBreakBefore(Reader &r, const Word &w, int32_t)
{
    if (on(w))
        r.st().para.flags |= PageBefore;
    else
        r.st().para.flags &= uint8_t(~PageBefore);
}

// \sN: an entry's number in the style sheet, a paragraph's style in the text.
void style(Reader &r, const Word &w, int32_t)
{
    State &s = r.st();
    if (s.dest == Dest::StyleSheet) {
        if (!r.styleOpen_)
            r.beginStyle();
        r.style_.number = w.param;
        return;
    }
    const auto it = r.styleKinds_.find(w.param);
    const uint8_t kind = it == r.styleKinds_.end() ? 0 : it->second;
    s.para.heading = kind >= TitleStyle ? 0 : kind;
    s.para.contents = kind > ContentsStyle ? uint8_t(kind - ContentsStyle) : 0;
    if (kind == TitleStyle)
        s.para.flags |= Title;
    else
        s.para.flags &= uint8_t(~Title);
}

// \outlinelevelN: 0 to 5 for the heading levels 1 to 6, 9 for body text.
void outlineLevel(Reader &r, const Word &w, int32_t)
{
    State &s = r.st();
    if (s.dest == Dest::StyleSheet) {
        if (!r.styleOpen_)
            r.beginStyle();
        r.style_.outline = w.param;
        return;
    }
    s.para.heading = w.param >= 0 && w.param < MaxHeadingLevel ? uint8_t(w.param + 1) : 0;
}

// Colour table: \red, \green, \blue with the component's index 0, 1, 2.
void colorComponent(Reader &r, const Word &w, int32_t component)
{
    if (r.st().dest != Dest::ColorTable)
        return;
    const int v = std::clamp(w.param, 0, 255);
    (component == 0 ? r.red_ : component == 1 ? r.green_ : r.blue_) = v;
    r.colorSeen_ = true;
}

struct Entry {
    const char *name;
    Action action;
    int32_t arg = 0;
};

// Destinations that carry no body text.
const char *const skippedDestinations[] = {
    "info", "object", "header", "headerl", "headerr", "headerf",
    "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "xmlnstbl",
    "themedata", "colorschememapping", "datastore",
    "generator", "latentstyles", "revtbl", "rsidtbl", "filetbl", "pgdsctbl", "fldinst",
    "shp", "shpinst", "shprslt", "nonshppict", "comment", "title", "subject",
    "author", "operator", "keywords", "doccomm", "company", "manager", "category",
    "hlinkbase", "creatim", "revtim", "printim", "buptim", "txe", "xe", "tc", "rxe",
    "bkmkstart", "bkmkend", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
    "aftncn", "template", "docvar", "userprops", "background", "pntxta", "pntxtb",
    "atnid", "atnauthor", "atndate", "atnicn", "atnref", "atnparent", "atrfstart",
    "atrfend", "fldtype", "datafield", "picprop", "blipuid", "objdata", "objalias",
    "objsect", "objclass", "objname", "objtime", "result", "falt", "panose", "fname",
    "mmathPr", "passwordhash", "wgrffmtfilter", "nesttableprops", "listpicture",
    "protusertbl", "pgptbl", "expandedcolortbl", "ebcstart", "ebcend", "formfield",
    "ffdeftext", "ffformat", "ffhelptext", "ffl", "ffname", "ffstattext",
};

const Entry entries[] = {
    // Destinations whose text is body text.
    {"field", destText}, {"fldrslt", destText},
    // Word's picture for readers of its shapes; \\nonshppict repeats it for older ones.
    {"shppict", destText}, {"pict", destPicture},
    {"pntext", destListMarker}, {"listtext", destListMarker},
    {"pn", destListProps},
    {"pnlvlblt", listKind, ListBullet}, {"pnlvlbody", listKind, NoList}, {"pnlvl", listKind, NoList}, {"pndec", listKind, ListDecimal},
    {"pnlcltr", listKind, ListLowerAlpha}, {"pnucltr", listKind, ListUpperAlpha},
    {"pnlcrm", listKind, ListLowerRoman}, {"pnucrm", listKind, ListUpperRoman},
    {"listtable", listWord, LwTable}, {"listoverridetable", listWord, LwOverrides},
    {"list", listWord, LwList}, {"listlevel", listWord, LwLevel},
    {"levelnfc", listWord, LwFormat}, {"levelnfcn", listWord, LwFormat}, {"listid", listWord, LwId},
    {"listoverride", listWord, LwOverride}, {"ls", listWord, LwLs}, {"ilvl", listWord, LwLevelOf},
    {"fonttbl", destFontTable},
    {"colortbl", destColorTable},
    {"stylesheet", destStyleSheet},
    {"upr", destUpr},
    {"ud", destUd},

    // Characters
    {"tab", character, 0x09}, {"line", character, 0x2028}, {"emdash", character, 0x2014},
    {"endash", character, 0x2013}, {"lquote", character, 0x2018}, {"rquote", character, 0x2019},
    {"ldblquote", character, 0x201C}, {"rdblquote", character, 0x201D}, {"bullet", character, 0x2022},
    {"enspace", character, 0x2002}, {"emspace", character, 0x2003}, {"qmspace", character, 0x2005},
    {"zwj", character, 0x200D}, {"zwnj", character, 0x200C}, {"ltrmark", character, 0x200E},
    {"rtlmark", character, 0x200F}, {"zwbo", character, 0x200B}, {"zwnbo", character, 0xFEFF},
    {"chftn", footnoteNumber},
    {"par", paragraphEnd}, {"sect", paragraphEnd}, {"column", paragraphEnd},
    {"page", paragraphEnd, 1},
    {"cell", cellEnd},
    {"nestcell", nestedCellEnd},
    {"row", rowEnd},
    {"nestrow", nestedRowEnd},
    {"trowd", rowDefaults},
    {"cellx", cellEdge},
    {"clbrdrt", cellBorder}, {"clbrdrl", cellBorder}, {"clbrdrb", cellBorder}, {"clbrdrr", cellBorder},
    {"trhdr", headerRow},
    {"u", unicode},
    {"uc", unicodeSkip},
    {"bin", binary},

    // Code pages and fonts
    {"ansi", codePage, 1252}, {"mac", codePage, 10000}, {"pc", codePage, 437}, {"pca", codePage, 850},
    {"ansicpg", ansiCodePage},
    {"deff", defaultFont},
    {"f", font},
    {"fcharset", fontCharset},
    {"cpg", fontCodePage},

    // Character properties
    {"plain", plain},
    {"b", setFlag, Bold},
    {"i", setFlag, Italic},
    {"strike", setFlag, Strike}, {"striked", setFlag, Strike},
    {"caps", setFlag, Caps},
    {"scaps", setFlag, SmallCaps},
    {"v", setFlag, Hidden},
    {"ul", underline, UlSingle}, {"ulw", underline, UlSingle}, {"uldb", underline, UlSingle},
    {"ulth", underline, UlSingle},
    {"uld", underline, UlDotted}, {"ulthd", underline, UlDotted},
    {"uldash", underline, UlDash}, {"ulthdash", underline, UlDash}, {"ulldash", underline, UlDash},
    {"ulthldash", underline, UlDash},
    {"uldashd", underline, UlDashDot}, {"ulthdashd", underline, UlDashDot},
    {"uldashdd", underline, UlDashDotDot}, {"ulthdashdd", underline, UlDashDotDot},
    {"ulwave", underline, UlWave}, {"ulhwave", underline, UlWave}, {"ululdbwave", underline, UlWave},
    {"ulnone", underlineNone},
    {"fs", fontSize},
    {"cf", foreground},
    {"cb", background}, {"chcbpat", background},
    {"highlight", highlight},
    {"ulc", underlineColor},
    {"super", super},
    {"sub", sub},
    {"nosupersub", noSuperSub},
    // A raised or lowered position is how LibreOffice writes superscript and subscript.
    {"up", super, 1},
    {"dn", sub, 1},

    // Paragraph properties
    {"pard", pard},
    {"ql", alignment, AlLeft}, {"qc", alignment, AlCenter}, {"qr", alignment, AlRight},
    {"qj", alignment, AlJustify},
    {"li", leftIndent}, {"lin", leftIndent},
    {"ri", rightIndent}, {"rin", rightIndent},
    {"fi", firstIndent},
    {"sb", spaceBefore},
    {"sa", spaceAfter},
    {"intbl", setParaFlag, InTable},
    {"rtlpar", setParaFlag, RightToLeft},
    {"ltrpar", clearParaFlag, RightToLeft},
    {"pagebb", pageBreakBefore},
    {"tx", tabWord, TwPosition}, {"tb", tabWord, TwBar},
    {"tqr", tabWord, TwRight}, {"tqc", tabWord, TwCenter}, {"tqdec", tabWord, TwDecimal},
    {"tldot", tabWord, TwDots}, {"tlmdot", tabWord, TwDots}, {"tlhyph", tabWord, TwHyphens},
    {"tlul", tabWord, TwLine}, {"tlth", tabWord, TwLine}, {"tleq", tabWord, TwDoubleLine},
    {"s", style},
    {"outlinelevel", outlineLevel},

    // Colour table
    {"red", colorComponent, 0}, {"green", colorComponent, 1}, {"blue", colorComponent, 2},
};

class KeywordTable {
public:
    KeywordTable()
    {
        for (const char *name : skippedDestinations)
            emplace(name, Keyword{destSkip, 0});
        for (const Entry &e : entries)
            emplace(e.name, Keyword{e.action, e.arg});
    }

    const Keyword *find(std::string_view name) const
    {
        for (size_t i = hash(name) & Mask;; i = (i + 1) & Mask) {
            const Slot &slot = slots_[i];
            if (slot.name.empty())
                return nullptr;
            if (slot.name == name)
                return &slot.keyword;
        }
    }

private:
    void emplace(std::string_view name, Keyword k)
    {
        size_t i = hash(name) & Mask;
        while (!slots_[i].name.empty())
            i = (i + 1) & Mask;
        slots_[i] = Slot{name, k};
    }

    static constexpr size_t Size = 1024; // well over twice the words, so probes stay short
    static constexpr size_t Mask = Size - 1;
    static size_t hash(std::string_view s)
    {
        uint32_t h = 2166136261u;
        for (const char c : s)
            h = (h ^ uint8_t(c)) * 16777619u;
        return h ^ (h >> 15);
    }
    struct Slot {
        std::string_view name;
        Keyword keyword{nullptr, 0};
    };
    Slot slots_[Size];
};

} // namespace

const Keyword *findKeyword(std::string_view name)
{
    static const KeywordTable table;
    return table.find(name);
}

void Reader::handleWord(const Word &w)
{
    const bool wasStarred = starred_;
    starred_ = false;
    const Keyword *found = w.name.empty() ? nullptr : findKeyword(w.name);
    if (!found) {
        if (wasStarred)
            skipGroup(); // an ignorable destination this reader does not know
        return;
    }
    st().format = -1; // most control words change the character format
    lastWasCellPar_ = parInCell_;
    parInCell_ = false;
    found->action(*this, w, found->arg);
}

} // namespace formats::rtf::detail
