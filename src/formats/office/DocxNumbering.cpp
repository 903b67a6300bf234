#include "formats/office/DocxNumbering.h"

#include "formats/office/XmlPart.h"

#include <QXmlStreamReader>

namespace formats::office {

namespace {

QTextListFormat::Style listStyle(const QString &numFmt)
{
    if (numFmt == QLatin1String("bullet"))
        return QTextListFormat::ListDisc;
    if (numFmt == QLatin1String("lowerLetter"))
        return QTextListFormat::ListLowerAlpha;
    if (numFmt == QLatin1String("upperLetter"))
        return QTextListFormat::ListUpperAlpha;
    if (numFmt == QLatin1String("lowerRoman"))
        return QTextListFormat::ListLowerRoman;
    if (numFmt == QLatin1String("upperRoman"))
        return QTextListFormat::ListUpperRoman;
    return QTextListFormat::ListDecimal;
}

QString wval(const QXmlStreamReader &r)
{
    for (const QXmlStreamAttribute &a : r.attributes())
        if (a.name() == u"val")
            return a.value().toString();
    return {};
}

} // namespace

QHash<QString, QTextListFormat::Style> docxNumbering(const QByteArray &xml, QString &error)
{
    QHash<QString, QTextListFormat::Style> numbering;
    if (xml.isEmpty())
        return numbering;
    XmlInput input(xml);
    QXmlStreamReader &r = input.reader;
    int depth = 0;
    QHash<QString, QString> abstractOf;                    // numId -> abstractNumId
    QHash<QString, QTextListFormat::Style> abstractLevels; // abstractNumId/level -> style
    QString abstract, level, num;
    while (nextElement(r, depth, error)) {
        if (!r.isStartElement())
            continue;
        const QStringView n = r.name();
        if (n == u"abstractNum") {
            abstract = r.attributes().value(QLatin1String("w:abstractNumId")).toString();
        } else if (n == u"lvl") {
            level = r.attributes().value(QLatin1String("w:ilvl")).toString();
        } else if (n == u"numFmt" && abstractLevels.size() < 10000) {
            abstractLevels.insert(abstract + QLatin1Char('/') + level, listStyle(wval(r)));
        } else if (n == u"num") {
            num = r.attributes().value(QLatin1String("w:numId")).toString();
        } else if (n == u"abstractNumId" && abstractOf.size() < 10000) {
            abstractOf.insert(num, wval(r));
        }
    }
    for (auto it = abstractOf.cbegin(); it != abstractOf.cend(); ++it)
        for (int l = 0; l < 9; ++l)
            if (const auto found = abstractLevels.constFind(*it + QLatin1Char('/') + QString::number(l));
                found != abstractLevels.cend())
                numbering.insert(it.key() + QLatin1Char('/') + QString::number(l), *found);
    return numbering;
}

} // namespace formats::office
