// Groups and destinations: the stack of group states, the code page each state decodes
// bytes with, and where a character goes (body text, a font name, the colour table).

#include "formats/rtf/RtfReader.h"

namespace formats::rtf::detail {

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
    if (closing == Dest::StyleSheet && styleOpen_ && stack_.size() <= styleDepth_)
        endStyle(); // an entry without its ';'
    if (stack_.size() == 1) {
        done_ = true; // the document's own group has ended; anything after it is not RTF
        return;
    }
    if (markerDepth_ == stack_.size()) {
        markerEnd_ = text_.size();
        markerDepth_ = 0;
    }
    const uint8_t list = st().para.list;
    stack_.pop_back();
    top_ = &stack_.back();
    if (closing == Dest::ListProps && st().dest == Dest::Text)
        st().para.list = list; // the numbering belongs to the paragraph, not to the \pn group
    if (closing == Dest::FontTable && st().dest != Dest::FontTable)
        currentFontEntry_ = nullptr;
    if (st().decoderGen != decoderGen_)
        refreshDecoder();
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
    case Dest::StyleSheet:
        if (!styleOpen_) {
            if (c <= 0x20)
                break; // white space between entries
            beginStyle();
        }
        if (style_.named)
            break;
        if (c == ';')
            endStyle();
        else if (c >= 0x20 && style_.name.size() < 256)
            style_.name += QString::fromUcs4(&c, 1);
        break;
    case Dest::Upr:
    case Dest::ListProps:
    case Dest::ListTable:
    case Dest::ListOverrides:
        break;
    }
}

void Reader::beginStyle()
{
    style_ = StyleEntry{};
    styleOpen_ = true;
    styleDepth_ = stack_.size();
}

// What the entry makes of a paragraph: a title or a contents line ("toc 1") by its name, a
// heading by its outline level or, without one, by its name ("heading 1", as Word and
// LibreOffice call them).
void Reader::endStyle()
{
    styleOpen_ = false;
    style_.named = true;
    const QString name = style_.name.trimmed().toCaseFolded();
    uint8_t kind = 0;
    if (name == QLatin1String("title"))
        kind = TitleStyle;
    else if (name.size() == 5 && name.startsWith(QLatin1String("toc ")) && name.at(4).digitValue() >= 1)
        kind = uint8_t(ContentsStyle + name.at(4).digitValue());
    else if (style_.outline >= 0 && style_.outline < MaxHeadingLevel)
        kind = uint8_t(style_.outline + 1);
    else if (style_.outline < 0 && name.size() == 9 && name.startsWith(QLatin1String("heading "))
             && name.at(8).digitValue() >= 1 && name.at(8).digitValue() <= MaxHeadingLevel)
        kind = uint8_t(name.at(8).digitValue());
    if (kind == 0)
        styleKinds_.erase(style_.number);
    else if (styleKinds_.size() < MaxStyles || styleKinds_.count(style_.number))
        styleKinds_[style_.number] = kind;
}

} // namespace formats::rtf::detail
