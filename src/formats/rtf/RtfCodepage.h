#pragma once

// Decoding of the 8-bit bytes an RTF file carries in \'hh escapes and raw text, by the
// code page that \ansicpg, \fcharset or \cpg chose. Windows-1252 is built in; other code
// pages come from the C library's iconv, turned into tables on first use.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace formats::rtf::detail {

// The Windows code page that an \fcharset value stands for; 0 when the charset names no
// code page of its own (the document's \ansicpg applies), -1 for the symbol charset.
int codePageForCharset(int charset);

class ByteDecoder {
public:
    explicit ByteDecoder(int codePage);
    ~ByteDecoder();
    ByteDecoder(const ByteDecoder &) = delete;
    ByteDecoder &operator=(const ByteDecoder &) = delete;

    int codePage() const { return cp_; }
    bool isMultiByte() const { return kind_ != Kind::Single && kind_ != Kind::Symbol; }

    static constexpr char32_t NoChar = 0xFFFFFFFF;

    // Feeds one byte. Returns the code point it completes, or NoChar while a multi-byte
    // character is still open. Bytes that make no character give U+FFFD; a broken
    // multi-byte sequence gives U+FFFD for its lead and `again` tells the caller to feed
    // the same byte once more, so a stray lead byte never eats the next character.
    char32_t feed(uint8_t byte, bool &again);
    // Ends an open multi-byte sequence: U+FFFD if one was open, else NoChar.
    char32_t flush();
    bool pending() const { return pendingLen_ > 0; }

private:
    enum class Kind { Single, Double, Utf8, Symbol };
    char32_t decodePair(uint8_t lead, uint8_t trail);

    int cp_;
    Kind kind_ = Kind::Single;
    char16_t single_[256];
    bool lead_[256] = {};
    void *iconv_ = nullptr; // iconv_t, opened for double-byte code pages
    std::vector<char32_t> pairs_; // lazily filled cache, 0 = not decoded yet
    uint8_t pendingBytes_[4] = {};
    int pendingLen_ = 0;
    int utf8Need_ = 0;
};

// The decoders of one read, one per code page, created on first use.
class DecoderCache {
public:
    ByteDecoder *get(int codePage);

private:
    std::unordered_map<int, std::unique_ptr<ByteDecoder>> decoders_;
};

} // namespace formats::rtf::detail
