#pragma once

// The RTF reader's shared state. One pass over the bytes with an explicit stack of group
// states (never recursion on the file's nesting) builds a flat model: the text, runs of
// one character format, and paragraphs. Only when the whole file has been read is the
// document replaced, so a refused file leaves it untouched.
//
// The stages live apart: the lexer (RtfLexer.cpp) cuts the bytes into control words and
// text, the keyword table (RtfKeywords.cpp) says what each word does, groups and
// destinations (RtfGroups.cpp) route the characters, and the model (RtfModel.cpp) turns
// into the QTextDocument (RtfBuild.cpp).

#include "formats/Limits.h"
#include "formats/Pictures.h"
#include "formats/rtf/Rtf.h"
#include "formats/rtf/RtfCodepage.h"

#include <QRgb>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTextBlockFormat;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace formats::rtf::detail {

inline constexpr bool isLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline constexpr bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }
inline constexpr int hexValue(uint8_t c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

inline constexpr char32_t NoChar = ByteDecoder::NoChar;
inline constexpr char32_t Replacement = 0xFFFD;

enum class Dest : uint8_t {
    Text,       // body text
    FontTable,
    ColorTable,
    Upr,        // \upr: only its \ud part is shown
    StyleSheet, // style names and the outline levels that make headings
    ListProps,  // \pn: the paragraph's list numbering
    ListTable,  // \listtable: each list's level formats
    ListOverrides, // \listoverridetable: the \ls numbers paragraphs name lists by
};

// The numbering of a list paragraph (\pn, or \ls through the list table), 0 for none.
enum ListKind : uint8_t { NoList, ListBullet, ListDecimal, ListLowerAlpha, ListUpperAlpha, ListLowerRoman, ListUpperRoman };

// The list table's words, the one keyword action's argument.
enum ListWord : uint8_t { LwTable, LwOverrides, LwList, LwLevel, LwFormat, LwId, LwOverride, LwLs, LwLevelOf };
inline constexpr size_t MaxListEntries = 4096; // lists and overrides kept; past that they are plain
inline constexpr int MaxListLevels = 9;

// A list of the list table: the numbering of each of its levels.
struct ListDef {
    std::vector<uint8_t> levels;
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
inline constexpr uint16_t FormatFlags = Bold | Italic | Strike | SmallCaps;

enum Underline : uint8_t { UlNone, UlSingle, UlDotted, UlDash, UlDashDot, UlDashDotDot, UlWave };
enum VAlign : uint8_t { VNormal, VSuper, VSub };
enum Align : uint8_t { AlLeft, AlCenter, AlRight, AlJustify };
enum ParaFlag : uint8_t { InTable = 1, RightToLeft = 2, PageBefore = 4, Title = 8 };

// The heading levels a paragraph style or \outlinelevel gives, the title's style, and the
// contents lines' ("toc 1" to "toc 9"), whose level is added to ContentsStyle.
inline constexpr int MaxHeadingLevel = 6;
inline constexpr uint8_t TitleStyle = MaxHeadingLevel + 1;
inline constexpr uint8_t ContentsStyle = TitleStyle;
// Twips beyond 22 inches either way make no sense for an indent, a spacing or a tab stop.
inline constexpr int32_t MaxTwips = 31680;
inline constexpr size_t MaxStyles = 65536; // style sheet entries kept; past that they are plain

inline constexpr int DefaultHalfPoints = 24;

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
    int32_t ls = 0;      // \ls: the list override the paragraph is an item of, 0 for none
    uint8_t align = AlLeft;
    uint8_t flags = 0;
    uint8_t heading = 0; // heading level, 0 for body text
    uint8_t list = NoList;
    uint8_t level = 0;   // \ilvl: the item's nesting in its list
    uint8_t contents = 0; // the level of the heading a contents line names, 0 for none
    uint16_t tabs = 0;   // the paragraph's tab stops: an index in the reader's sets, 0 for none
    bool operator==(const ParaProps &o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};
static_assert(sizeof(ParaProps) == 32, "ParaProps must have no padding");

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

// A tab stop as \tqr, \tqc or \tqdec, a leader word and \txN give it.
enum TabWord : uint8_t { TwPosition, TwBar, TwRight, TwCenter, TwDecimal, TwDots, TwHyphens, TwLine, TwDoubleLine };
struct TabStop {
    int32_t position; // twips from the margin
    uint8_t align;    // 0 left, else the TabWord of its alignment
    uint8_t leader;   // 0 none, else the TabWord of its leader
};
inline constexpr size_t MaxTabStops = 64;   // a paragraph's stops, as many as Word keeps
inline constexpr size_t MaxTabSets = 4096; // distinct sets kept; stops past that are dropped

struct State {
    CharProps chr;
    ParaProps para;
    uint8_t tabAlign = 0, tabLeader = 0; // for the next \tx
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

// The style sheet entry being read.
struct StyleEntry {
    int32_t number = 0;
    int32_t outline = -1;
    QString name;
    bool named = false;
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
    int32_t table = -1; // index in the tables, -1 outside any
    int32_t row = 0;
    int32_t col = 0;
    qsizetype markerStart = 0, markerEnd = 0; // a list item's \pntext, left out of its text
};

// A table as read: its size once its last row has ended, and the first row's definition.
struct TableModel {
    int32_t rows = 0;
    int32_t cols = 0;
    int32_t headerRows = 0;
    std::vector<int32_t> cellx; // right cell edges in twips
    bool borders = false;
};

// A \\pict as read: its data, the sizes it gives, and where it stands in the text.
struct PictureModel {
    qsizetype at = 0;
    QByteArray data;
    bool blip = false; // PNG or JPEG, which this reader shows; a metafile or bitmap is a placeholder
    int32_t goalWidth = 0, goalHeight = 0; // twips
    int32_t scaleX = 100, scaleY = 100;    // percent
};

struct Word {
    std::string_view name; // empty for a word too long to be one
    bool hasParam = false;
    int32_t param = 0;
};

class Reader;

// What a control word does: the word as read, and the table's argument for it.
using Action = void (*)(Reader &, const Word &, int32_t arg);

struct Keyword {
    Action action;
    int32_t arg;
};

// \\pict's action (RtfPictures.cpp).
void destPicture(Reader &r, const Word &w, int32_t arg);

// The word's entry in the keyword table, or nullptr for a word this reader does not know.
const Keyword *findKeyword(std::string_view name);

// The stages share this state; the keyword actions reach into it as the old switch did.
class Reader {
public:
    explicit Reader(const QByteArray &data)
        : p_(reinterpret_cast<const uint8_t *>(data.constData()))
        , end_(p_ + data.size())
    {
    }

    Result parse();
    // The model turned into the document, in four stages (RtfBuild.cpp).
    void apply(QTextDocument &doc) const;
    std::unordered_map<int32_t, QString> fontFamilies() const;
    std::vector<QTextCharFormat> charFormats(const std::unordered_map<int32_t, QString> &families) const;
    std::vector<QTextBlockFormat> blockFormats() const;
    void build(QTextDocument &doc, const std::vector<QTextCharFormat> &charFormats,
               const std::vector<QTextBlockFormat> &blockFormats) const;

    // Tokens (RtfLexer.cpp)
    Word lexWord();
    void parseControl();
    void handleWord(const Word &w);
    void skipGroup();
    void skipBin(int32_t length);

    // Groups, destinations and the characters they receive (RtfGroups.cpp)
    void openGroup();
    void closeGroup();
    State &st() { return *top_; }
    void setFont(int32_t number);
    ByteDecoder *decoderFor(const FontEntry *font);
    void refreshDecoder();
    void fontTableChanged() { ++decoderGen_; }
    void putByte(uint8_t b);
    void putUnicode(int32_t value);
    void putChar(char32_t c);
    void putCharRaw(char32_t c);
    void flushPending();
    void beginStyle();
    void endStyle();

    // Tab stops (RtfTabs.cpp)
    void tabWord(int32_t which, const Word &w);

    // The list table (RtfLists.cpp)
    void listWord(int32_t which, const Word &w);
    void resolveList(ParaProps &props) const;

    // The model (RtfModel.cpp)
    void appendBody(char32_t c);
    void appendAscii(const uint8_t *s, qsizetype n);
    void beginBodyText();
    void openRun();
    int currentFormat();
    void endParagraph(bool last = false, bool inCell = false);
    bool paragraphEmpty() const { return runs_.size() == (paras_.empty() ? 0 : paras_.back().runEnd); }
    void checkFontsUsed();

    // Pictures (RtfPictures.cpp)
    void readPicture();
    void pictureWord(PictureModel &picture, const Word &w);
    void addPicture(PictureModel &&picture);
    // The text from..to of one run, its pictures as pictures.
    void insertText(QTextCursor &cursor, qsizetype from, qsizetype to, const QTextCharFormat &format) const;

    // Tables (RtfTables.cpp)
    void endCell();
    void endRow();
    void closeTable();
    int pendingCells() const { return col_ + (cellParas_ > 0 ? 1 : 0); }
    void countRow(TableModel &t);
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
    DecoderCache decoders_;

    std::unordered_map<int32_t, FontEntry> fonts_;
    FontEntry *currentFontEntry_ = nullptr;
    size_t fontEntryDepth_ = 0; // nesting of the group the current entry began in
    std::vector<QRgb> colors_; // alpha 0 marks the automatic colour
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSeen_ = false;

    // Style sheet: what each paragraph style number makes of a paragraph, heading level or
    // TitleStyle, for the styles that make one.
    std::unordered_map<int32_t, uint8_t> styleKinds_;
    StyleEntry style_;
    bool styleOpen_ = false;
    size_t styleDepth_ = 0; // nesting of the group the current entry began in

    // Tab stop sets, each kept once: set 0 has no stops.
    std::vector<std::vector<TabStop>> tabSets_{1};
    std::unordered_map<std::string, uint16_t> tabSetIndex_;

    // The list table: the lists, each list's number, and the lists each \ls names.
    std::vector<ListDef> listDefs_;
    std::unordered_map<int32_t, size_t> listIndex_;
    std::unordered_map<int32_t, int32_t> listOverrides_;
    bool listOpen_ = false;  // the \list being read is kept
    bool levelOpen_ = false; // and so is its \listlevel being read
    int32_t overrideList_ = 0, overrideLs_ = 0;

    // Tables: the one being read, the cell the text goes to, and the row being defined.
    std::vector<TableModel> tables_;
    int32_t openTable_ = -1;
    int32_t row_ = 0;
    int32_t col_ = 0;
    int cellParas_ = 0;         // paragraphs the current cell has so far
    bool parInCell_ = false;    // a \par in a cell was the last word, so a \cell now adds no paragraph
    bool lastWasCellPar_ = false;
    bool nestTabPending_ = false;

    // The \pntext of the paragraph being read: its place in text_, and the group it is.
    qsizetype markerStart_ = -1, markerEnd_ = -1;
    size_t markerDepth_ = 0; // a nested table's cells stay in their cell, tab separated
    std::vector<int32_t> rowCellx_;
    bool rowBorders_ = false;
    bool rowHeader_ = false;
    int64_t closedCells_ = 0; // cells of the tables already read
    bool pageBreakNext_ = false;
    int footnoteNumber_ = 0;

    std::vector<PictureModel> pictures_; // in the order of their places in text_
    PictureBudget pictureBudget_;

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

} // namespace formats::rtf::detail
