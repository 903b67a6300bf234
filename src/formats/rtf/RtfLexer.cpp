// The reader's lexer: the bytes cut into groups, control words, control symbols and
// text, each handed to the stage that deals with it.

#include "formats/rtf/RtfReader.h"

#include <algorithm>
#include <cstring>

namespace formats::rtf::detail {

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

// Reads the letters, parameter and delimiting space of a control word; p_ stands on
// its first letter.
Word Reader::lexWord()
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

} // namespace formats::rtf::detail
