#include "formats/rtf/RtfCodepage.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace formats::rtf::detail {

namespace {

constexpr char16_t Replacement = 0xFFFD;

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1. The five unused
// bytes map to the C1 controls of the same value, as Windows does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

iconv_t openIconv(int cp)
{
    struct Alias {
        int cp;
        const char *name;
    };
    // Code pages whose iconv name is not simply "CP<n>".
    static constexpr Alias aliases[] = {
        {10000, "MACINTOSH"},   {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"},
        {10029, "MAC-CENTRALEUROPE"}, {10079, "MAC-IS"}, {20127, "ASCII"},
        {20866, "KOI8-R"},      {21866, "KOI8-U"},       {51932, "EUC-JP"},
        {51936, "EUC-CN"},      {51949, "EUC-KR"},       {54936, "GBK"},
        {936, "GBK"},           {949, "UHC"},            {950, "BIG5"},
        {932, "WINDOWS-31J"},   {1361, "JOHAB"},
    };
    char name[32];
    std::snprintf(name, sizeof name, "CP%d", cp);
    iconv_t cd = iconv_open("UTF-32LE", name);
    if (cd != iconv_t(-1))
        return cd;
    if (cp >= 28591 && cp <= 28606) {
        std::snprintf(name, sizeof name, "ISO-8859-%d", cp - 28590);
        cd = iconv_open("UTF-32LE", name);
        if (cd != iconv_t(-1))
            return cd;
    }
    for (const Alias &a : aliases) {
        if (a.cp == cp) {
            cd = iconv_open("UTF-32LE", a.name);
            if (cd != iconv_t(-1))
                return cd;
        }
    }
    return iconv_t(-1);
}

enum class IconvResult { Ok, Incomplete, Invalid };

IconvResult convert(iconv_t cd, const uint8_t *bytes, size_t len, char32_t &out)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *in = reinterpret_cast<char *>(const_cast<uint8_t *>(bytes));
    size_t inLeft = len;
    char32_t buf[4] = {};
    char *o = reinterpret_cast<char *>(buf);
    size_t outLeft = sizeof buf;
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    if (r == size_t(-1) && errno == EINVAL)
        return IconvResult::Incomplete;
    if (r == size_t(-1) && errno != E2BIG)
        return IconvResult::Invalid;
    // Some converters (1255, 1258) hold a letter back for a combining mark that may follow.
    iconv(cd, nullptr, nullptr, &o, &outLeft);
    if (o == reinterpret_cast<char *>(buf) || inLeft != 0)
        return IconvResult::Invalid;
    out = buf[0];
    return out > 0x10FFFF ? IconvResult::Invalid : IconvResult::Ok;
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return -1;
    case 77: return 10000;
    case 78: return 932;     // Mac Japanese: the Windows code page decodes its text
    case 79: return 949;
    case 80: return 936;
    case 81: return 950;
    case 82: return 1361;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: case 181: return 1255;
    case 178: case 179: case 180: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

ByteDecoder::ByteDecoder(int codePage)
    : cp_(codePage)
{
    for (int b = 0; b < 0x80; ++b)
        single_[b] = char16_t(b);
    if (cp_ == -1) {
        // Symbol fonts: their glyphs live in the private use area, as Windows maps them.
        kind_ = Kind::Symbol;
        for (int b = 0x80; b < 0x100; ++b)
            single_[b] = char16_t(0xF000 + b);
        return;
    }
    if (cp_ == 65001) {
        kind_ = Kind::Utf8;
        return;
    }
    for (int b = 0x80; b < 0x100; ++b)
        single_[b] = b < 0xA0 ? Cp1252High[b - 0x80] : char16_t(b);
    if (cp_ == 1252)
        return;

    iconv_t cd = openIconv(cp_);
    if (cd == iconv_t(-1))
        return; // unknown code page: read it as Windows-1252
    // RTF's own syntax is ASCII; a code page that is not (EBCDIC) cannot be one of its.
    const uint8_t letter = 'A';
    char32_t asA = 0;
    if (convert(cd, &letter, 1, asA) != IconvResult::Ok || asA != U'A') {
        iconv_close(cd);
        return;
    }
    bool anyLead = false;
    for (int b = 0x80; b < 0x100; ++b) {
        const uint8_t byte = uint8_t(b);
        char32_t c = 0;
        switch (convert(cd, &byte, 1, c)) {
        case IconvResult::Ok:
            single_[b] = c <= 0xFFFF ? char16_t(c) : Replacement;
            break;
        case IconvResult::Incomplete:
            lead_[b] = true;
            anyLead = true;
            single_[b] = Replacement;
            break;
        case IconvResult::Invalid:
            single_[b] = Replacement;
            break;
        }
    }
    if (anyLead) {
        kind_ = Kind::Double;
        iconv_ = cd;
        pairs_.assign(0x10000, 0);
    } else {
        iconv_close(cd);
    }
}

ByteDecoder::~ByteDecoder()
{
    if (iconv_)
        iconv_close(static_cast<iconv_t>(iconv_));
}

char32_t ByteDecoder::decodePair(uint8_t lead, uint8_t trail)
{
    char32_t &slot = pairs_[size_t(lead) << 8 | trail];
    if (slot == 0) {
        const uint8_t bytes[2] = {lead, trail};
        char32_t c = 0;
        slot = convert(static_cast<iconv_t>(iconv_), bytes, 2, c) == IconvResult::Ok && c != 0 ? c : NoChar;
    }
    return slot;
}

char32_t ByteDecoder::feed(uint8_t byte, bool &again)
{
    again = false;
    switch (kind_) {
    case Kind::Single:
    case Kind::Symbol:
        return single_[byte];
    case Kind::Double:
        if (pendingLen_ > 0) {
            pendingLen_ = 0;
            const char32_t c = decodePair(pendingBytes_[0], byte);
            if (c == NoChar) {
                again = true;
                return Replacement;
            }
            return c;
        }
        if (lead_[byte]) {
            pendingBytes_[0] = byte;
            pendingLen_ = 1;
            return NoChar;
        }
        return single_[byte];
    case Kind::Utf8:
        if (pendingLen_ > 0) {
            if ((byte & 0xC0) != 0x80) {
                pendingLen_ = 0;
                again = true;
                return Replacement;
            }
            pendingBytes_[pendingLen_++] = byte;
            if (pendingLen_ < utf8Need_)
                return NoChar;
            char32_t c = pendingBytes_[0] & (0xFF >> (utf8Need_ + 1));
            for (int i = 1; i < utf8Need_; ++i)
                c = c << 6 | (pendingBytes_[i] & 0x3F);
            const int need = utf8Need_;
            pendingLen_ = 0;
            static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (c < minimum[need] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                return Replacement;
            return c;
        }
        if (byte < 0x80)
            return byte;
        if (byte >= 0xC2 && byte <= 0xF4) {
            utf8Need_ = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            pendingBytes_[0] = byte;
            pendingLen_ = 1;
            return NoChar;
        }
        return Replacement;
    }
    return Replacement;
}

char32_t ByteDecoder::flush()
{
    if (pendingLen_ == 0)
        return NoChar;
    pendingLen_ = 0;
    return Replacement;
}

ByteDecoder *DecoderCache::get(int codePage)
{
    auto &slot = decoders_[codePage];
    if (!slot)
        slot = std::make_unique<ByteDecoder>(codePage);
    return slot.get();
}

} // namespace formats::rtf::detail
