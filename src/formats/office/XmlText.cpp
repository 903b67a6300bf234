#include "formats/office/XmlText.h"


namespace formats::office {

namespace {

bool validAt(QStringView text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    if (u < 0x20)
        return u == 0x09 || u == 0x0A || u == 0x0D;
    if (u == 0xFFFE || u == 0xFFFF)
        return false;
    if (QChar::isHighSurrogate(u))
        return i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode());
    if (QChar::isLowSurrogate(u))
        return i > 0 && QChar::isHighSurrogate(text[i - 1].unicode());
    return true;
}

} // namespace

QString validXml(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && validAt(text, i))
        ++i;
    if (i == text.size())
        return text.toString(); // the usual case: nothing to drop
    QString out;
    out.reserve(text.size());
    out.append(text.left(i));
    for (; i < text.size(); ++i)
        if (validAt(text, i))
            out.append(text[i]);
    return out;
}

} // namespace formats::office
