// The RTF reader. One pass over the bytes with an explicit stack of group states (never
// recursion on the file's nesting) builds a flat model: the text, runs of one character
// format, and paragraphs. Only when the whole file has been read is the document replaced,
// so a refused file leaves it untouched.

#include "document/rtf/Rtf.h"
#include "document/rtf/RtfCodepage.h"
#include "document/rtf/RtfParse.h"

#include <QHash>
#include <QSet>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <deque>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace rtf {

namespace {

using detail::ByteDecoder;

constexpr char32_t NoChar = ByteDecoder::NoChar;
constexpr char32_t Replacement = 0xFFFD;

enum class Dest : uint8_t {
    Text,       // body text
    FontTable,
    ColorTable,
    Upr,        // \upr: only its \ud part is shown
};

enum CharFlag : uint16_t {
    Bold = 1,
    Italic = 2,
    Strike = 4,
    Caps = 8,
    SmallCaps = 16,
    Hidden = 32,
};
// Flags that change the character format; the others change the text.
constexpr uint16_t FormatFlags = Bold | Italic | Strike | SmallCaps;

enum Underline : uint8_t { UlNone, UlSingle, UlDotted, UlDash, UlDashDot, UlDashDotDot, UlWave };
enum VAlign : uint8_t { VNormal, VSuper, VSub };
enum Align : uint8_t { AlLeft, AlCenter, AlRight, AlJustify };
enum ParaFlag : uint8_t { InTable = 1, RightToLeft = 2, PageBefore = 4 };

constexpr int DefaultHalfPoints = 24;

struct CharProps {
    int32_t font = -1; // number in the font table, -1 for none
    int32_t halfPoints = DefaultHalfPoints;
    int32_t fg = 0; // colour table indexes, 0 for automatic
    int32_t bg = 0; // \cb and \chcbpat
    int32_t highlight = 0;
    int32_t ulColor = 0;
    uint16_t flags = 0;
    uint8_t underline = UlNone;
    uint8_t valign = VNormal;
};

// What decides a character format; compared and hashed as plain bytes.
struct FmtKey {
    int32_t font;
    int32_t halfPoints;
    int32_t fg;
    int32_t bg;
    int32_t ulColor;
    uint16_t flags;
    uint8_t underline;
    uint8_t valign;
    bool operator==(const FmtKey &o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};
static_assert(sizeof(FmtKey) == 24, "FmtKey must have no padding");

struct ParaProps {
    int32_t li = 0, ri = 0, fi = 0, sb = 0, sa = 0; // twips
    uint8_t align = AlLeft;
    uint8_t flags = 0;
    uint8_t unused[2] = {};
    bool operator==(const ParaProps &o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};
static_assert(sizeof(ParaProps) == 24, "ParaProps must have no padding");

// Hashes a padding-free key of whole 64-bit words.
template <typename T>
struct BytesHash {
    static_assert(sizeof(T) % 8 == 0);
    size_t operator()(const T &v) const
    {
        uint64_t h = 0x9E3779B97F4A7C15ull;
        for (size_t i = 0; i < sizeof(T); i += 8) {
            uint64_t w;
            std::memcpy(&w, reinterpret_cast<const char *>(&v) + i, 8);
            h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
            h ^= h >> 31;
        }
        return size_t(h);
    }
};

struct State {
    CharProps chr;
    ParaProps para;
    Dest dest = Dest::Text;
    uint8_t uc = 1;          // fallback characters after \uN
    int format = -1;         // index of chr's format once looked up; -1 after a change
    uint32_t decoderGen = 0; // font table generation the decoder was chosen in
    ByteDecoder *decoder = nullptr;
};

struct FontEntry {
    QString name;
    int charset = -1000; // not given
    int codePage = 0;    // \cpg, 0 when not given
    bool named = false;  // the name has ended with ';'
};

struct Run {
    qsizetype start;
    qsizetype length;
    int format;
};

struct Para {
    size_t runEnd;
    int blockFormat;
    int markFormat;
};

// What a control word does.
enum class Op : uint8_t {
    Ignore,
    // destinations
    DestSkip, DestText, DestFontTable, DestColorTable, DestUpr, DestUd,
    // text
    Char, FootnoteNumber, Par, Page, Cell, Row, NestRow, Unicode, UnicodeSkip, Bin,
    // code pages and fonts
    CodePage, AnsiCodePage, DefaultFont, Font, FontCharset, FontCodePage,
    // character properties
    Plain, Bold, Italic, Strike, Underline, UnderlineNone, FontSize, Foreground, Background,
    Highlight, UnderlineColor, Super, Sub, NoSuperSub, Caps, SmallCaps, Hidden,
    // paragraph properties
    Pard, Alignment, LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, InTable,
    RtlPar, LtrPar, PageBreakBefore,
    // colour table
    Red, Green, Blue,
};

struct Keyword {
    Op op;
    int32_t arg;
};

// The control words this reader knows, in an open-addressing table: looked up once for
// every control word of a file, so it has to be cheap.
class KeywordTable {
public:
    void emplace(std::string_view name, Keyword k)
    {
        size_t i = hash(name) & Mask;
        while (!slots_[i].name.empty())
            i = (i + 1) & Mask;
        slots_[i] = Slot{name, k};
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
        Keyword keyword{Op::Ignore, 0};
    };
    Slot slots_[Size];
};

const KeywordTable &keywords()
{
    static const KeywordTable table = [] {
        KeywordTable t;
        // Destinations that carry no body text.
        for (const char *w :
             {"stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf",
              "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "xmlnstbl",
              "listtable", "listoverridetable", "themedata", "colorschememapping", "datastore",
              "generator", "latentstyles", "revtbl", "rsidtbl", "filetbl", "pgdsctbl", "fldinst",
              "shp", "shpinst", "shprslt", "nonshppict", "shppict", "comment", "title", "subject",
              "author", "operator", "keywords", "doccomm", "company", "manager", "category",
              "hlinkbase", "creatim", "revtim", "printim", "buptim", "txe", "xe", "tc", "rxe",
              "bkmkstart", "bkmkend", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
              "aftncn", "template", "docvar", "userprops", "background", "pn", "pntxta", "pntxtb",
              "atnid", "atnauthor", "atndate", "atnicn", "atnref", "atnparent", "atrfstart",
              "atrfend", "fldtype", "datafield", "picprop", "blipuid", "objdata", "objalias",
              "objsect", "objclass", "objname", "objtime", "result", "falt", "panose", "fname",
              "mmathPr", "passwordhash", "wgrffmtfilter", "nesttableprops", "listpicture",
              "protusertbl", "pgptbl", "expandedcolortbl", "ebcstart", "ebcend", "formfield",
              "ffdeftext", "ffformat", "ffhelptext", "ffl", "ffname", "ffstattext"})
            t.emplace(w, Keyword{Op::DestSkip, 0});
        for (const char *w : {"field", "fldrslt", "listtext", "pntext"})
            t.emplace(w, Keyword{Op::DestText, 0});
        t.emplace("fonttbl", Keyword{Op::DestFontTable, 0});
        t.emplace("colortbl", Keyword{Op::DestColorTable, 0});
        t.emplace("upr", Keyword{Op::DestUpr, 0});
        t.emplace("ud", Keyword{Op::DestUd, 0});

        struct CharWord {
            const char *word;
            char32_t c;
        };
        for (const CharWord &w : std::initializer_list<CharWord>{
                 {"tab", 0x09}, {"line", 0x2028}, {"emdash", 0x2014}, {"endash", 0x2013},
                 {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C},
                 {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"enspace", 0x2002},
                 {"emspace", 0x2003}, {"qmspace", 0x2005}, {"zwj", 0x200D}, {"zwnj", 0x200C},
                 {"ltrmark", 0x200E}, {"rtlmark", 0x200F}, {"zwbo", 0x200B}, {"zwnbo", 0xFEFF}})
            t.emplace(w.word, Keyword{Op::Char, int32_t(w.c)});
        t.emplace("chftn", Keyword{Op::FootnoteNumber, 0});
        for (const char *w : {"par", "sect", "column"})
            t.emplace(w, Keyword{Op::Par, 0});
        t.emplace("page", Keyword{Op::Page, 0});
        t.emplace("cell", Keyword{Op::Cell, 0});
        t.emplace("nestcell", Keyword{Op::Cell, 0});
        t.emplace("row", Keyword{Op::Row, 0});
        t.emplace("nestrow", Keyword{Op::NestRow, 0});
        t.emplace("u", Keyword{Op::Unicode, 0});
        t.emplace("uc", Keyword{Op::UnicodeSkip, 0});
        t.emplace("bin", Keyword{Op::Bin, 0});

        t.emplace("ansi", Keyword{Op::CodePage, 1252});
        t.emplace("mac", Keyword{Op::CodePage, 10000});
        t.emplace("pc", Keyword{Op::CodePage, 437});
        t.emplace("pca", Keyword{Op::CodePage, 850});
        t.emplace("ansicpg", Keyword{Op::AnsiCodePage, 0});
        t.emplace("deff", Keyword{Op::DefaultFont, 0});
        t.emplace("f", Keyword{Op::Font, 0});
        t.emplace("fcharset", Keyword{Op::FontCharset, 0});
        t.emplace("cpg", Keyword{Op::FontCodePage, 0});

        t.emplace("plain", Keyword{Op::Plain, 0});
        t.emplace("b", Keyword{Op::Bold, 0});
        t.emplace("i", Keyword{Op::Italic, 0});
        t.emplace("strike", Keyword{Op::Strike, 0});
        t.emplace("striked", Keyword{Op::Strike, 0});
        for (const char *w : {"ul", "ulw", "uldb", "ulth"})
            t.emplace(w, Keyword{Op::Underline, UlSingle});
        for (const char *w : {"uld", "ulthd"})
            t.emplace(w, Keyword{Op::Underline, UlDotted});
        for (const char *w : {"uldash", "ulthdash", "ulldash", "ulthldash"})
            t.emplace(w, Keyword{Op::Underline, UlDash});
        for (const char *w : {"uldashd", "ulthdashd"})
            t.emplace(w, Keyword{Op::Underline, UlDashDot});
        for (const char *w : {"uldashdd", "ulthdashdd"})
            t.emplace(w, Keyword{Op::Underline, UlDashDotDot});
        for (const char *w : {"ulwave", "ulhwave", "ululdbwave"})
            t.emplace(w, Keyword{Op::Underline, UlWave});
        t.emplace("ulnone", Keyword{Op::UnderlineNone, 0});
        t.emplace("fs", Keyword{Op::FontSize, 0});
        t.emplace("cf", Keyword{Op::Foreground, 0});
        t.emplace("cb", Keyword{Op::Background, 0});
        t.emplace("chcbpat", Keyword{Op::Background, 0});
        t.emplace("highlight", Keyword{Op::Highlight, 0});
        t.emplace("ulc", Keyword{Op::UnderlineColor, 0});
        t.emplace("super", Keyword{Op::Super, 0});
        t.emplace("sub", Keyword{Op::Sub, 0});
        t.emplace("nosupersub", Keyword{Op::NoSuperSub, 0});
        // A raised or lowered position is how LibreOffice writes superscript and subscript.
        t.emplace("up", Keyword{Op::Super, 1});
        t.emplace("dn", Keyword{Op::Sub, 1});
        t.emplace("caps", Keyword{Op::Caps, 0});
        t.emplace("scaps", Keyword{Op::SmallCaps, 0});
        t.emplace("v", Keyword{Op::Hidden, 0});

        t.emplace("pard", Keyword{Op::Pard, 0});
        t.emplace("ql", Keyword{Op::Alignment, AlLeft});
        t.emplace("qc", Keyword{Op::Alignment, AlCenter});
        t.emplace("qr", Keyword{Op::Alignment, AlRight});
        t.emplace("qj", Keyword{Op::Alignment, AlJustify});
        t.emplace("li", Keyword{Op::LeftIndent, 0});
        t.emplace("lin", Keyword{Op::LeftIndent, 0});
        t.emplace("ri", Keyword{Op::RightIndent, 0});
        t.emplace("rin", Keyword{Op::RightIndent, 0});
        t.emplace("fi", Keyword{Op::FirstIndent, 0});
        t.emplace("sb", Keyword{Op::SpaceBefore, 0});
        t.emplace("sa", Keyword{Op::SpaceAfter, 0});
        t.emplace("intbl", Keyword{Op::InTable, 0});
        t.emplace("rtlpar", Keyword{Op::RtlPar, 0});
        t.emplace("ltrpar", Keyword{Op::LtrPar, 0});
        t.emplace("pagebb", Keyword{Op::PageBreakBefore, 0});

        t.emplace("red", Keyword{Op::Red, 0});
        t.emplace("green", Keyword{Op::Green, 0});
        t.emplace("blue", Keyword{Op::Blue, 0});
        return t;
    }();
    return table;
}

bool isLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }
int hexValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int clampInt(int32_t v, int32_t lo, int32_t hi) { return std::clamp(v, lo, hi); }

// Twips beyond 22 inches either way make no sense for an indent or a spacing.
constexpr int32_t MaxTwips = 31680;

class Reader {
public:
    explicit Reader(const QByteArray &data)
        : p_(reinterpret_cast<const uint8_t *>(data.constData()))
        , end_(p_ + data.size())
    {
    }

    Result parse();
    void apply(QTextDocument &doc) const;

private:
    struct Word {
        std::string_view name; // empty for a word too long to be one
        bool hasParam = false;
        int32_t param = 0;
    };

    // Tokens
    Word lexWord();
    void parseControl();
    void handleWord(const Word &w);
    void openGroup();
    void closeGroup();
    void skipGroup();
    void skipBin(int32_t length);

    // State
    State &st() { return *top_; }
    void setFont(int32_t number);
    ByteDecoder *decoderFor(const FontEntry *font);
    void refreshDecoder();
    void fontTableChanged() { ++decoderGen_; }

    // Output
    void putByte(uint8_t b);
    void putUnicode(int32_t value);
    void putChar(char32_t c);
    void putCharRaw(char32_t c);
    void flushPending();
    void appendBody(char32_t c);
    void appendAscii(const uint8_t *s, qsizetype n);
    void beginBodyText();
    int currentFormat();
    void endParagraph(bool last = false);
    void checkFontsUsed();
    void fail(const QString &message)
    {
        if (ok_) {
            ok_ = false;
            error_ = message;
        }
        p_ = end_;
    }

    const uint8_t *p_;
    const uint8_t *end_;
    bool ok_ = true;
    QString error_;
    bool done_ = false;

    // A deque: a million levels never move the states already there, and top_ stays valid.
    std::deque<State> stack_;
    State *top_ = nullptr;
    bool starred_ = false;
    int skipFallback_ = 0; // \uc characters still to skip
    char32_t pendingHigh_ = 0; // a high surrogate waiting for its low half

    int ansiCodePage_ = 1252;
    int32_t defaultFont_ = -1;
    uint32_t decoderGen_ = 1;
    detail::DecoderCache decoders_;
    std::unordered_map<int32_t, FontEntry> fonts_;
    FontEntry *currentFontEntry_ = nullptr;
    size_t fontEntryDepth_ = 0; // nesting of the group the current entry began in
    std::vector<QRgb> colors_; // alpha 0 marks the automatic colour
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSeen_ = false;

    // Tables: the tab between cells and paragraph ends inside a cell wait until more of
    // the row's text comes, so a row reads as one line and a cell's last \par vanishes.
    bool cellTabPending_ = false;
    int cellParsPending_ = 0;
    bool pageBreakNext_ = false;
    int footnoteNumber_ = 0;

    // Model
    QString text_;
    std::vector<Run> runs_;
    std::vector<Para> paras_;
    qsizetype paraTextStart_ = 0; // where the open paragraph's text begins in text_
    std::vector<FmtKey> formats_;
    std::unordered_map<FmtKey, int, BytesHash<FmtKey>> formatIndex_;
    std::vector<ParaProps> blockFormats_;
    std::unordered_map<ParaProps, int, BytesHash<ParaProps>> blockIndex_;
    FmtKey lastKey_{};
    int lastFormat_ = -1;
    struct FormatCacheSlot {
        FmtKey key{};
        int format = -1;
    };
    FormatCacheSlot formatCache_[64];
};

Result Reader::parse()
{
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n'))
        ++p_;
    if (end_ - p_ < 5 || std::memcmp(p_, "{\\rtf", 5) != 0)
        return {false, QStringLiteral("The file is not an RTF document.")};

    text_.reserve(qsizetype(end_ - p_) * 3 / 4);
    runs_.reserve(size_t(end_ - p_) / 64);

    while (p_ < end_ && !done_) {
        const uint8_t c = *p_;
        switch (c) {
        case '{':
            ++p_;
            openGroup();
            break;
        case '}':
            ++p_;
            closeGroup();
            break;
        case '\\':
            parseControl();
            break;
        case '\r':
        case '\n':
            ++p_;
            break;
        default:
            if (skipFallback_ > 0) {
                --skipFallback_;
                ++p_;
                break;
            }
            if (st().dest == Dest::Text && c >= 0x20 && c < 0x80 && (st().chr.flags & (Hidden | Caps)) == 0
                && !pendingHigh_ && !st().decoder->pending()) {
                const uint8_t *s = p_;
                while (p_ < end_ && *p_ >= 0x20 && *p_ < 0x80 && *p_ != '\\' && *p_ != '{' && *p_ != '}')
                    ++p_;
                appendAscii(s, p_ - s);
                break;
            }
            ++p_;
            putByte(c);
            break;
        }
    }
    if (!ok_)
        return {false, error_};
    // Every \par is a line end, so what follows the last one is the last line, empty
    // when the file ends with \par; a truncated file ends it where the bytes end.
    flushPending();
    if (!stack_.empty())
        endParagraph(true);
    if (ok_)
        checkFontsUsed();
    return ok_ ? Result{} : Result{false, error_};
}

void Reader::openGroup()
{
    starred_ = false;
    skipFallback_ = 0;
    if (stack_.empty()) {
        top_ = &stack_.emplace_back();
        refreshDecoder();
        return;
    }
    if (int(stack_.size()) >= MaxGroupDepth) {
        fail(QStringLiteral("The file nests its groups more than %1 levels deep, so it cannot be read; "
                            "it is probably damaged.")
                 .arg(MaxGroupDepth));
        return;
    }
    top_ = &stack_.emplace_back(*top_);
}

void Reader::closeGroup()
{
    starred_ = false;
    skipFallback_ = 0;
    if (stack_.empty())
        return;
    ByteDecoder *before = st().decoder;
    if (before && before->pending())
        putCharRaw(before->flush());
    const Dest closing = st().dest;
    if (closing == Dest::FontTable && currentFontEntry_ && !currentFontEntry_->named
        && stack_.size() <= fontEntryDepth_) {
        // An entry without its ';' ends with the group it began in (not with a {\*\panose}
        // inside it, which comes before the name).
        currentFontEntry_->named = true;
        currentFontEntry_->name = currentFontEntry_->name.trimmed();
    }
    if (stack_.size() == 1) {
        done_ = true; // the document's own group has ended; anything after it is not RTF
        return;
    }
    stack_.pop_back();
    top_ = &stack_.back();
    if (closing == Dest::FontTable && st().dest != Dest::FontTable)
        currentFontEntry_ = nullptr;
    if (st().decoderGen != decoderGen_)
        refreshDecoder();
}

// Reads the letters, parameter and delimiting space of a control word; p_ stands on
// its first letter.
Reader::Word Reader::lexWord()
{
    Word w;
    const uint8_t *start = p_;
    while (p_ < end_ && isLetter(*p_))
        ++p_;
    // The format allows 32 letters; a longer word is nobody's and is ignored.
    if (p_ - start <= 32)
        w.name = std::string_view(reinterpret_cast<const char *>(start), size_t(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
        negative = true;
        ++p_;
    }
    int64_t value = 0;
    while (p_ < end_ && isDigit(*p_)) {
        w.hasParam = true;
        if (value <= INT32_MAX)
            value = value * 10 + (*p_ - '0');
        ++p_;
    }
    if (negative)
        value = -value;
    w.param = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    if (p_ < end_ && *p_ == ' ')
        ++p_;
    return w;
}

void Reader::parseControl()
{
    ++p_; // the backslash
    if (p_ >= end_)
        return;
    const uint8_t c = *p_;
    if (isLetter(c)) {
        const Word w = lexWord();
        if (skipFallback_ > 0) {
            // A control word counts as one fallback character, whatever it is.
            --skipFallback_;
            starred_ = false;
            if (w.name == "bin")
                skipBin(w.param);
            return;
        }
        handleWord(w);
        return;
    }
    ++p_;
    if (c == '*') {
        starred_ = true;
        return;
    }
    if (c == '\'') {
        // Two hex digits; fewer make no byte.
        int value = 0;
        int digits = 0;
        while (digits < 2 && p_ < end_ && hexValue(*p_) >= 0) {
            value = value * 16 + hexValue(*p_++);
            ++digits;
        }
        if (digits < 2)
            value = -1;
        if (skipFallback_ > 0) {
            --skipFallback_;
            return;
        }
        starred_ = false;
        if (value >= 0)
            putByte(uint8_t(value));
        return;
    }
    if (skipFallback_ > 0) {
        --skipFallback_;
        return;
    }
    starred_ = false;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        putByte(c); // may be the second byte of a double-byte character
        break;
    case '~':
        putChar(0x00A0);
        break;
    case '_':
        putChar(0x2011);
        break;
    case '\t':
        putChar('\t');
        break;
    case '\r':
    case '\n':
        handleWord(Word{"par", false, 0});
        break;
    case '-':
        putChar(0x00AD); // the optional hyphen, shown only where a line breaks
        break;
    default:
        break; // \| and \: show nothing
    }
}

void Reader::handleWord(const Word &w)
{
    const bool wasStarred = starred_;
    starred_ = false;
    const Keyword *found = w.name.empty() ? nullptr : keywords().find(w.name);
    if (!found) {
        if (wasStarred)
            skipGroup(); // an ignorable destination this reader does not know
        return;
    }
    const Keyword k = *found;
    State &s = st();
    s.format = -1; // most control words change the character format
    const bool on = !w.hasParam || w.param != 0;
    const auto setFlag = [&s, on](uint16_t flag) {
        if (on)
            s.chr.flags |= flag;
        else
            s.chr.flags &= uint16_t(~flag);
    };
    switch (k.op) {
    case Op::Ignore:
        break;
    case Op::DestSkip:
        skipGroup();
        break;
    case Op::DestText:
        if (s.dest != Dest::Text)
            skipGroup();
        break;
    case Op::DestFontTable:
        s.dest = Dest::FontTable;
        currentFontEntry_ = nullptr;
        break;
    case Op::DestColorTable:
        s.dest = Dest::ColorTable;
        red_ = green_ = blue_ = 0;
        colorSeen_ = false;
        break;
    case Op::DestUpr:
        if (s.dest == Dest::Text)
            s.dest = Dest::Upr;
        else
            skipGroup();
        break;
    case Op::DestUd:
        if (s.dest == Dest::Upr || s.dest == Dest::Text)
            s.dest = Dest::Text;
        else
            skipGroup();
        break;
    case Op::Char:
        putChar(char32_t(k.arg));
        break;
    case Op::FootnoteNumber:
        if (s.dest == Dest::Text) {
            flushPending();
            for (const QChar ch : QString::number(++footnoteNumber_))
                putCharRaw(ch.unicode());
        }
        break;
    case Op::Par:
    case Op::Page:
        if (s.dest != Dest::Text)
            break;
        flushPending();
        if (s.para.flags & InTable) {
            ++cellParsPending_;
        } else {
            endParagraph();
            if (k.op == Op::Page)
                pageBreakNext_ = true;
        }
        break;
    case Op::Cell:
        if (s.dest != Dest::Text)
            break;
        flushPending();
        cellParsPending_ = 0;
        if (cellTabPending_) {
            cellTabPending_ = false;
            appendBody('\t'); // the cell that ends here was empty
        }
        cellTabPending_ = true;
        break;
    case Op::Row:
        if (s.dest != Dest::Text)
            break;
        flushPending();
        cellTabPending_ = false;
        cellParsPending_ = 0;
        endParagraph();
        break;
    case Op::NestRow:
        if (s.dest != Dest::Text)
            break;
        // A nested table stays inside its cell: its rows are separated like cells.
        cellParsPending_ = 0;
        cellTabPending_ = true;
        break;
    case Op::Unicode:
        if (w.hasParam) {
            putUnicode(w.param);
            skipFallback_ = s.uc;
        }
        break;
    case Op::UnicodeSkip:
        s.uc = uint8_t(w.hasParam ? std::clamp(w.param, 0, 255) : 1);
        break;
    case Op::Bin:
        skipBin(w.param);
        break;
    case Op::CodePage:
        ansiCodePage_ = k.arg;
        fontTableChanged();
        refreshDecoder();
        break;
    case Op::AnsiCodePage:
        if (w.hasParam && w.param > 0 && w.param <= 65535) {
            ansiCodePage_ = w.param;
            fontTableChanged();
            refreshDecoder();
        }
        break;
    case Op::DefaultFont:
        if (s.dest == Dest::Text && w.hasParam) {
            defaultFont_ = w.param;
            if (s.chr.font < 0)
                setFont(w.param);
        }
        break;
    case Op::Font:
        if (!w.hasParam)
            break;
        if (s.dest == Dest::FontTable) {
            auto found = fonts_.find(w.param);
            if (found == fonts_.end()) {
                if (int(fonts_.size()) >= MaxFontTableEntries) {
                    fail(QStringLiteral("The file's font table has more than %1 entries, so it cannot be "
                                        "read; it is probably damaged.")
                             .arg(MaxFontTableEntries));
                    break;
                }
                found = fonts_.emplace(w.param, FontEntry{}).first;
            }
            found->second = FontEntry{};
            currentFontEntry_ = &found->second;
            fontEntryDepth_ = stack_.size();
            fontTableChanged();
            refreshDecoder();
        } else if (s.dest == Dest::Text || s.dest == Dest::Upr) {
            setFont(w.param);
        }
        break;
    case Op::FontCharset:
        if (s.dest == Dest::FontTable && currentFontEntry_ && w.hasParam) {
            currentFontEntry_->charset = w.param;
            fontTableChanged();
            refreshDecoder();
        }
        break;
    case Op::FontCodePage:
        if (s.dest == Dest::FontTable && currentFontEntry_ && w.hasParam && w.param > 0 && w.param <= 65535) {
            currentFontEntry_->codePage = w.param;
            fontTableChanged();
            refreshDecoder();
        }
        break;
    case Op::Plain: {
        const int32_t font = s.chr.font;
        s.chr = CharProps{};
        s.chr.font = font;
        setFont(defaultFont_);
        break;
    }
    case Op::Bold:
        setFlag(Bold);
        break;
    case Op::Italic:
        setFlag(Italic);
        break;
    case Op::Strike:
        setFlag(Strike);
        break;
    case Op::Caps:
        setFlag(Caps);
        break;
    case Op::SmallCaps:
        setFlag(SmallCaps);
        break;
    case Op::Hidden:
        setFlag(Hidden);
        break;
    case Op::Underline:
        s.chr.underline = on ? uint8_t(k.arg) : uint8_t(UlNone);
        break;
    case Op::UnderlineNone:
        s.chr.underline = UlNone;
        break;
    case Op::FontSize:
        // 1638 points is the largest size word processors offer.
        s.chr.halfPoints = w.hasParam && w.param > 0 ? std::min(w.param, 3276) : DefaultHalfPoints;
        break;
    case Op::Foreground:
        s.chr.fg = std::max(w.param, 0);
        break;
    case Op::Background:
        s.chr.bg = std::max(w.param, 0);
        break;
    case Op::Highlight:
        s.chr.highlight = std::max(w.param, 0);
        break;
    case Op::UnderlineColor:
        s.chr.ulColor = std::max(w.param, 0);
        break;
    case Op::Super:
    case Op::Sub: {
        // \up and \dn count as such only with a positive shift (their default is 6).
        const bool shifted = k.arg ? (!w.hasParam || w.param > 0) : on;
        if (shifted)
            s.chr.valign = k.op == Op::Super ? VSuper : VSub;
        else if (s.chr.valign == (k.op == Op::Super ? VSuper : VSub))
            s.chr.valign = VNormal;
        break;
    }
    case Op::NoSuperSub:
        s.chr.valign = VNormal;
        break;
    case Op::Pard:
        s.para = ParaProps{};
        break;
    case Op::Alignment:
        s.para.align = uint8_t(k.arg);
        break;
    case Op::LeftIndent:
        s.para.li = clampInt(w.param, -MaxTwips, MaxTwips);
        break;
    case Op::RightIndent:
        s.para.ri = clampInt(w.param, -MaxTwips, MaxTwips);
        break;
    case Op::FirstIndent:
        s.para.fi = clampInt(w.param, -MaxTwips, MaxTwips);
        break;
    case Op::SpaceBefore:
        s.para.sb = clampInt(w.param, 0, MaxTwips);
        break;
    case Op::SpaceAfter:
        s.para.sa = clampInt(w.param, 0, MaxTwips);
        break;
    case Op::InTable:
        s.para.flags |= InTable;
        break;
    case Op::RtlPar:
        s.para.flags |= RightToLeft;
        break;
    case Op::LtrPar:
        s.para.flags &= uint8_t(~RightToLeft);
        break;
    case Op::PageBreakBefore:
        if (on)
            s.para.flags |= PageBefore;
        else
            s.para.flags &= uint8_t(~PageBefore);
        break;
    case Op::Red:
    case Op::Green:
    case Op::Blue:
        if (s.dest == Dest::ColorTable) {
            const int v = std::clamp(w.param, 0, 255);
            (k.op == Op::Red ? red_ : k.op == Op::Green ? green_ : blue_) = v;
            colorSeen_ = true;
        }
        break;
    }
}

// Skips the rest of the current group, nested groups included, and closes it.
void Reader::skipGroup()
{
    size_t depth = 1;
    while (p_ < end_) {
        const uint8_t c = *p_++;
        if (c == '{') {
            if (stack_.size() + depth >= size_t(MaxGroupDepth)) {
                fail(QStringLiteral("The file nests its groups more than %1 levels deep, so it cannot be "
                                    "read; it is probably damaged.")
                         .arg(MaxGroupDepth));
                return;
            }
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                closeGroup();
                return;
            }
        } else if (c == '\\' && p_ < end_) {
            if (isLetter(*p_)) {
                const Word w = lexWord();
                if (w.name == "bin")
                    skipBin(w.param); // binary data may hold braces
            } else {
                ++p_;
            }
        }
    }
}

void Reader::skipBin(int32_t length)
{
    if (length <= 0)
        return;
    // A length beyond the end of the data means the file was cut short.
    p_ += std::min<int64_t>(length, end_ - p_);
}

ByteDecoder *Reader::decoderFor(const FontEntry *font)
{
    int cp = ansiCodePage_;
    if (font) {
        if (font->codePage > 0) {
            cp = font->codePage;
        } else if (font->charset != -1000) {
            const int fromCharset = detail::codePageForCharset(font->charset);
            if (fromCharset != 0)
                cp = fromCharset;
        }
    }
    return decoders_.get(cp);
}

void Reader::refreshDecoder()
{
    State &s = st();
    ByteDecoder *next;
    if (s.dest == Dest::FontTable) {
        next = decoderFor(currentFontEntry_);
    } else {
        const auto it = fonts_.find(s.chr.font);
        next = decoderFor(it == fonts_.end() ? nullptr : &it->second);
    }
    if (s.decoder && s.decoder != next && s.decoder->pending())
        putCharRaw(s.decoder->flush());
    s.decoder = next;
    s.decoderGen = decoderGen_;
}

void Reader::setFont(int32_t number)
{
    State &s = st();
    if (s.chr.font == number && s.decoderGen == decoderGen_ && s.decoder)
        return;
    s.chr.font = number;
    refreshDecoder();
}

void Reader::putByte(uint8_t b)
{
    if (pendingHigh_) {
        pendingHigh_ = 0;
        putCharRaw(Replacement);
    }
    ByteDecoder *d = st().decoder;
    bool again = false;
    char32_t c = d->feed(b, again);
    if (c != NoChar)
        putCharRaw(c);
    if (again) {
        c = d->feed(b, again);
        if (c != NoChar)
            putCharRaw(c);
    }
}

void Reader::putUnicode(int32_t value)
{
    ByteDecoder *d = st().decoder;
    if (d->pending())
        putCharRaw(d->flush());
    // Negative values stand for the upper half of the 16-bit range.
    int64_t v = value < 0 ? int64_t(value) + 65536 : value;
    if (v < 0 || v > 0x10FFFF)
        v = Replacement;
    if (v >= 0xD800 && v <= 0xDBFF) {
        if (pendingHigh_)
            putCharRaw(Replacement);
        pendingHigh_ = char32_t(v);
        return;
    }
    if (v >= 0xDC00 && v <= 0xDFFF) {
        if (pendingHigh_) {
            const char32_t c = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (char32_t(v) - 0xDC00);
            pendingHigh_ = 0;
            putCharRaw(c);
        } else {
            putCharRaw(Replacement);
        }
        return;
    }
    if (pendingHigh_) {
        pendingHigh_ = 0;
        putCharRaw(Replacement);
    }
    putCharRaw(char32_t(v));
}

void Reader::putChar(char32_t c)
{
    flushPending();
    putCharRaw(c);
}

// A lone high surrogate or an unfinished double-byte character shows as U+FFFD.
void Reader::flushPending()
{
    if (pendingHigh_) {
        pendingHigh_ = 0;
        putCharRaw(Replacement);
    }
    ByteDecoder *d = st().decoder;
    if (d && d->pending())
        putCharRaw(d->flush());
}

void Reader::putCharRaw(char32_t c)
{
    State &s = st();
    switch (s.dest) {
    case Dest::Text:
        if (!(s.chr.flags & Hidden))
            appendBody(c);
        break;
    case Dest::FontTable:
        if (!currentFontEntry_ || currentFontEntry_->named)
            break;
        if (c == ';') {
            currentFontEntry_->named = true;
            currentFontEntry_->name = currentFontEntry_->name.trimmed();
        } else if (c >= 0x20 && currentFontEntry_->name.size() < 256) {
            currentFontEntry_->name += QString::fromUcs4(&c, 1);
        }
        break;
    case Dest::ColorTable:
        if (c == ';') {
            if (int(colors_.size()) >= MaxColorTableEntries) {
                fail(QStringLiteral("The file's colour table has more than %1 entries, so it cannot be "
                                    "read; it is probably damaged.")
                         .arg(MaxColorTableEntries));
                break;
            }
            colors_.push_back(colorSeen_ ? qRgb(red_, green_, blue_) : QRgb(0));
            red_ = green_ = blue_ = 0;
            colorSeen_ = false;
        }
        break;
    case Dest::Upr:
        break;
    }
}

void Reader::appendBody(char32_t c)
{
    if (c < 0x20 && c != '\t')
        return; // control characters, line ends among them, are not text in RTF
    switch (c) {
    case 0xF0B7: c = 0x2022; break; // the bullet of the Symbol font
    case 0x2029: c = 0x2028; break; // paragraphs end only by \par
    case 0xFDD0: case 0xFDD1: case 0xFFFC: c = Replacement; break; // the document's own markers
    default: break;
    }
    if (st().chr.flags & Caps)
        c = QChar::toUpper(c);
    beginBodyText();
    Run &run = runs_.back();
    if (c >= 0x10000) {
        text_.append(QChar(QChar::highSurrogate(c)));
        text_.append(QChar(QChar::lowSurrogate(c)));
        run.length += 2;
    } else {
        text_.append(QChar(char16_t(c)));
        run.length += 1;
    }
}

void Reader::appendAscii(const uint8_t *s, qsizetype n)
{
    beginBodyText();
    text_.append(QLatin1StringView(reinterpret_cast<const char *>(s), n));
    runs_.back().length += n;
}

// Starts text in the current run: releases what tables held back and opens a new run
// when the format changed.
void Reader::beginBodyText()
{
    if (cellTabPending_ || cellParsPending_ > 0) {
        const bool tab = cellTabPending_;
        cellTabPending_ = false;
        if (tab) {
            beginBodyText();
            text_.append(QLatin1Char('\t'));
            runs_.back().length += 1;
        }
        while (cellParsPending_ > 0 && ok_) {
            --cellParsPending_;
            endParagraph();
        }
    }
    const int format = currentFormat();
    const size_t paraStart = paras_.empty() ? 0 : paras_.back().runEnd;
    if (runs_.size() == paraStart || runs_.back().format != format) {
        if (runs_.size() >= size_t(MaxRuns)) {
            fail(QStringLiteral("The file changes its character format more than %1 times, more than this program "
                                "can show, so it cannot be read.")
                     .arg(MaxRuns));
            return;
        }
        runs_.push_back(Run{text_.size(), 0, format});
    }
}

int Reader::currentFormat()
{
    State &s = st();
    if (s.format >= 0)
        return s.format;
    const CharProps &c = s.chr;
    const FmtKey key{c.font,       c.halfPoints, c.fg, c.highlight ? c.highlight : c.bg, c.ulColor,
                     uint16_t(c.flags & FormatFlags), c.underline, c.valign};
    if (lastFormat_ >= 0 && key == lastKey_)
        return s.format = lastFormat_;
    // Documents switch among a few formats; a small cache in front of the map finds them.
    FormatCacheSlot &slot = formatCache_[BytesHash<FmtKey>()(key) % std::size(formatCache_)];
    if (slot.format < 0 || !(slot.key == key)) {
        const auto [it, inserted] = formatIndex_.try_emplace(key, int(formats_.size()));
        if (inserted) {
            // Each distinct format costs Qt's format collection a compare on every new
            // format; past a few hundred thousand that alone takes seconds.
            if (formats_.size() >= size_t(MaxCharFormats)) {
                formatIndex_.erase(it);
                fail(QStringLiteral("The file uses more than %1 different character formats, more than this "
                                    "program can show, so it cannot be read.")
                         .arg(MaxCharFormats));
                return s.format = 0;
            }
            formats_.push_back(key);
        }
        slot = FormatCacheSlot{key, it->second};
    }
    lastKey_ = key;
    lastFormat_ = slot.format;
    return s.format = lastFormat_;
}

void Reader::endParagraph(bool last)
{
    ParaProps props = st().para;
    props.flags &= uint8_t(~InTable);
    // An empty last line after the final \par carries the properties of the paragraph
    // before it, but no page break of its own: it would only print a blank page.
    if (last && runs_.size() == (paras_.empty() ? 0 : paras_.back().runEnd))
        props.flags &= uint8_t(~PageBefore);
    if (pageBreakNext_) {
        props.flags |= PageBefore;
        pageBreakNext_ = false;
    }
    const auto [it, inserted] = blockIndex_.try_emplace(props, int(blockFormats_.size()));
    if (inserted)
        blockFormats_.push_back(props);
    // Counted here, where a paragraph ends: a paragraph costs the editor's layout far
    // more than the few bytes of RTF that make it.
    if (text_.size() - paraTextStart_ > MaxParagraphLength) {
        fail(paragraphTooLong());
        return;
    }
    if (paras_.size() >= size_t(MaxParagraphs)) {
        fail(tooManyParagraphs());
        return;
    }
    paras_.push_back(Para{runs_.size(), it->second, currentFormat()});
    paraTextStart_ = text_.size();
}

// Every font the text uses costs the editor's layout a search of the system's fonts
// (about a millisecond for a name the system lacks), however few characters it has.
void Reader::checkFontsUsed()
{
    std::unordered_set<int32_t> numbers;
    QSet<QString> used;
    for (const FmtKey &k : formats_) {
        if (!numbers.insert(k.font).second)
            continue;
        const auto font = fonts_.find(k.font);
        if (font == fonts_.end() || font->second.name.isEmpty())
            continue;
        used.insert(font->second.name.toCaseFolded());
        if (used.size() > MaxFontsUsed) {
            fail(QStringLiteral("The file uses more than %1 fonts, more than this program can show, so it cannot be "
                                "read.")
                     .arg(MaxFontsUsed));
            return;
        }
    }
}

void Reader::apply(QTextDocument &doc) const
{
    const auto color = [this](int32_t index) {
        if (index <= 0 || size_t(index) >= colors_.size() || qAlpha(colors_[size_t(index)]) == 0)
            return QColor();
        return QColor::fromRgb(colors_[size_t(index)]);
    };

    // Font names are compared without regard to case ("Arial" and "arial" are one font):
    // entries that differ only in case take the spelling of the lowest-numbered one.
    std::unordered_map<int32_t, QString> families;
    {
        std::vector<std::pair<int32_t, const FontEntry *>> entries;
        entries.reserve(fonts_.size());
        for (const auto &[number, entry] : fonts_)
            entries.emplace_back(number, &entry);
        std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        QHash<QString, QString> spelling;
        for (const auto &[number, entry] : entries) {
            if (entry->name.isEmpty())
                continue;
            const QString key = entry->name.toCaseFolded();
            auto it = spelling.constFind(key);
            if (it == spelling.constEnd())
                it = spelling.insert(key, entry->name);
            families.emplace(number, it.value());
        }
    }

    std::vector<QTextCharFormat> charFormats;
    charFormats.reserve(formats_.size());
    for (const FmtKey &k : formats_) {
        QTextCharFormat f;
        // The family goes in as one string, which Qt reads as a list of one: Qt 6.4 hashes
        // every list of families alike, so formats that differ only in font would all
        // share one hash and the format collection would compare each new one with all.
        if (const auto family = families.find(k.font); family != families.end())
            f.setProperty(QTextFormat::FontFamilies, family->second);
        f.setFontPointSize(k.halfPoints / 2.0);
        if (k.flags & Bold)
            f.setFontWeight(QFont::Bold);
        if (k.flags & Italic)
            f.setFontItalic(true);
        if (k.flags & Strike)
            f.setFontStrikeOut(true);
        if (k.flags & SmallCaps)
            f.setFontCapitalization(QFont::SmallCaps);
        static constexpr QTextCharFormat::UnderlineStyle underlines[] = {
            QTextCharFormat::NoUnderline,  QTextCharFormat::SingleUnderline, QTextCharFormat::DotLine,
            QTextCharFormat::DashUnderline, QTextCharFormat::DashDotLine,    QTextCharFormat::DashDotDotLine,
            QTextCharFormat::WaveUnderline,
        };
        if (k.underline != UlNone)
            f.setUnderlineStyle(underlines[k.underline]);
        if (const QColor c = color(k.fg); c.isValid())
            f.setForeground(c);
        if (const QColor c = color(k.bg); c.isValid())
            f.setBackground(c);
        if (const QColor c = color(k.ulColor); c.isValid())
            f.setUnderlineColor(c);
        if (k.valign == VSuper)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (k.valign == VSub)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        charFormats.push_back(f);
    }

    std::vector<QTextBlockFormat> blockFormats;
    blockFormats.reserve(blockFormats_.size());
    for (const ParaProps &p : blockFormats_) {
        QTextBlockFormat f;
        switch (p.align) {
        case AlCenter: f.setAlignment(Qt::AlignHCenter); break;
        case AlRight: f.setAlignment(Qt::AlignRight); break;
        case AlJustify: f.setAlignment(Qt::AlignJustify); break;
        default: break;
        }
        // Twips to the document's pixels (15 twips to a pixel at 96 dpi).
        if (p.li)
            f.setLeftMargin(p.li / 15.0);
        if (p.ri)
            f.setRightMargin(p.ri / 15.0);
        if (p.fi)
            f.setTextIndent(p.fi / 15.0);
        if (p.sb)
            f.setTopMargin(p.sb / 15.0);
        if (p.sa)
            f.setBottomMargin(p.sa / 15.0);
        if (p.flags & RightToLeft)
            f.setLayoutDirection(Qt::RightToLeft);
        if (p.flags & PageBefore)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        blockFormats.push_back(f);
    }

    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false); // a file read is not an edit to undo
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    size_t run = 0;
    for (size_t i = 0; i < paras_.size(); ++i) {
        const Para &para = paras_[i];
        if (i == 0) {
            cursor.setBlockFormat(blockFormats[size_t(para.blockFormat)]);
            cursor.setBlockCharFormat(charFormats[size_t(para.markFormat)]);
        } else {
            cursor.insertBlock(blockFormats[size_t(para.blockFormat)], charFormats[size_t(para.markFormat)]);
        }
        for (; run < para.runEnd; ++run) {
            const Run &r = runs_[run];
            if (r.length > 0)
                cursor.insertText(QString::fromRawData(text_.constData() + r.start, r.length),
                                  charFormats[size_t(r.format)]);
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

} // namespace

namespace detail {

Result parseOnly(const QByteArray &data)
{
    return Reader(data).parse();
}

} // namespace detail

Result read(const QByteArray &data, QTextDocument &doc)
{
    Reader reader(data);
    const Result result = reader.parse();
    if (result.ok)
        reader.apply(doc);
    return result;
}

} // namespace rtf
