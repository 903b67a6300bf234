#include "formats/rtf/Rtf.h"

#include <cctype>

namespace formats::rtf {

bool looksLikeRtf(const QByteArray &data)
{
    qsizetype i = 0;
    while (i < data.size() && std::isspace(static_cast<unsigned char>(data[i])) != 0)
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

} // namespace formats::rtf
