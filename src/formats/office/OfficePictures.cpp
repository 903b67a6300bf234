#include "formats/office/OfficePictures.h"

#include "formats/office/OfficeBuild.h"
#include "formats/office/Zip.h"

#include <QDir>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace formats::office {

void PictureEntries::place(Builder &b, const QString &entry, QSizeF size, const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.isEmpty() && !entry.isEmpty()) {
        auto it = m_entries.constFind(entry);
        if (it == m_entries.cend()) {
            // A missing, encrypted or oversized entry is a picture that cannot be shown.
            if (!m_zip.contains(entry) || !m_zip.read(entry, MaxPartBytes, data).ok)
                data.clear();
            it = m_entries.insert(entry, data);
        }
        data = *it;
    }
    // An entry shown again shares its image: it counts only as one more picture.
    const bool again = !entry.isEmpty() && bytes.isEmpty() && m_counted.contains(entry);
    if (const QString why = m_budget.add(again ? QByteArray() : data); !why.isEmpty()) {
        b.fail(why);
        return;
    }
    if (again) { // the image decoded the first time, at this place's size
        Picture shown = m_decoded.value(entry);
        if (!size.isEmpty() && !shown.placeholder)
            shown.size = size;
        b.picture(shown);
        return;
    }
    const Picture picture = data.isEmpty() ? pictures::placeholder() : pictures::decode(data, size);
    if (!entry.isEmpty() && bytes.isEmpty()) {
        m_counted.insert(entry);
        m_decoded.insert(entry, picture);
    }
    b.picture(picture);
}

PictureParts::Added PictureParts::add(const QTextImageFormat &format, std::initializer_list<const char *> kinds)
{
    const Picture picture = pictures::at(m_doc, format);
    if (const auto it = m_numbers.constFind(format.name()); it != m_numbers.cend())
        return {*it, m_parts[size_t(*it - 1)].name, picture};
    const pictures::Encoded data = pictures::encoded(picture, kinds);
    const int number = int(m_parts.size()) + 1;
    m_parts.push_back({m_folder + QStringLiteral("image%1.").arg(number) + data.extension(), data.bytes, data.mimeType()});
    m_numbers.insert(format.name(), number);
    return {number, m_parts.back().name, picture};
}

namespace docx {

QHash<QString, QString> relationships(const QByteArray &xml)
{
    QHash<QString, QString> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd() && out.size() < int(MaxZipEntries)) {
        if (r.readNext() != QXmlStreamReader::StartElement || r.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = r.attributes();
        if (a.value(QLatin1String("TargetMode")) == u"External")
            continue;
        const QString target = a.value(QLatin1String("Target")).toString();
        out.insert(a.value(QLatin1String("Id")).toString(),
                   target.startsWith(QLatin1Char('/')) ? target.mid(1) : QDir::cleanPath(QStringLiteral("word/") + target));
    }
    return out;
}

Drawing readDrawing(QXmlStreamReader &r, int &depth, QString &error)
{
    Drawing d;
    const int level = depth;
    while (nextElement(r, depth, error) && depth >= level) {
        if (!r.isStartElement())
            continue;
        const QStringView n = r.name();
        if (d.id.isEmpty() && (n == u"blip" || n == u"imagedata")) {
            for (const QXmlStreamAttribute &a : r.attributes())
                if (a.name() == (n == u"blip" ? u"embed" : u"id"))
                    d.id = a.value().toString();
        } else if (d.size.isEmpty() && n == u"extent") {
            // English Metric Units, 9525 to a pixel.
            const auto emu = [&](const char *name) {
                return std::clamp(r.attributes().value(QLatin1String(name)).toDouble() / 9525, 0.0, 20000.0);
            };
            d.size = QSizeF(emu("cx"), emu("cy"));
        }
    }
    return d;
}

void writeDrawing(QXmlStreamWriter &w, const Picture &picture, const QString &id, int number)
{
    // English Metric Units: 9525 to a pixel at 96 dpi.
    const QString cx = QString::number(std::lround(picture.size.width() * 9525));
    const QString cy = QString::number(std::lround(picture.size.height() * 9525));
    const QString name = QStringLiteral("Picture %1").arg(number);
    const auto empty = [&](const char *element, std::initializer_list<std::pair<const char *, QString>> attributes) {
        w.writeEmptyElement(QLatin1String(element));
        for (const auto &[k, v] : attributes)
            w.writeAttribute(QLatin1String(k), v);
    };
    w.writeStartElement(QStringLiteral("w:r"));
    w.writeStartElement(QStringLiteral("w:drawing"));
    w.writeStartElement(QStringLiteral("wp:inline"));
    for (const char *side : {"distT", "distB", "distL", "distR"})
        w.writeAttribute(QLatin1String(side), QStringLiteral("0"));
    empty("wp:extent", {{"cx", cx}, {"cy", cy}});
    empty("wp:docPr", {{"id", QString::number(number)}, {"name", name},
                       {"descr", picture.placeholder ? pictures::NotShown : QString()}});
    w.writeStartElement(QStringLiteral("a:graphic"));
    w.writeStartElement(QStringLiteral("a:graphicData"));
    w.writeAttribute(QStringLiteral("uri"), QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
    w.writeStartElement(QStringLiteral("pic:pic"));
    w.writeStartElement(QStringLiteral("pic:nvPicPr"));
    empty("pic:cNvPr", {{"id", QString::number(number)}, {"name", name}});
    empty("pic:cNvPicPr", {});
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("pic:blipFill"));
    empty("a:blip", {{"r:embed", id}});
    w.writeStartElement(QStringLiteral("a:stretch"));
    empty("a:fillRect", {});
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("pic:spPr"));
    w.writeStartElement(QStringLiteral("a:xfrm"));
    empty("a:off", {{"x", QStringLiteral("0")}, {"y", QStringLiteral("0")}});
    empty("a:ext", {{"cx", cx}, {"cy", cy}});
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("a:prstGeom"));
    w.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    empty("a:avLst", {});
    w.writeEndElement();
    for (int i = 0; i < 7; ++i) // spPr, pic, graphicData, graphic, inline, drawing, r
        w.writeEndElement();
}

} // namespace docx

namespace odt {

Frame readFrame(QXmlStreamReader &r, int &depth, QString &error)
{
    Frame f;
    bool found = false;
    const int level = depth;
    while (nextElement(r, depth, error) && depth >= level) {
        if (!r.isStartElement() || found)
            continue;
        if (r.name() == u"image") {
            f.entry = r.attributes().value(QLatin1String("xlink:href")).toString();
            if (f.entry.startsWith(QLatin1String("./")))
                f.entry = f.entry.mid(2);
            found = !f.entry.isEmpty();
        } else if (r.name() == u"binary-data") {
            QString base64;
            const int dataLevel = depth;
            while (nextElement(r, depth, error, &base64) && depth >= dataLevel) {
            }
            f.bytes = QByteArray::fromBase64(base64.toLatin1());
            found = true;
        }
    }
    return f;
}

void writeFrame(QXmlStreamWriter &w, const Picture &picture, const QString &entry, int number)
{
    const auto mm = [](qreal px) { return QString::number(px * 25.4 / 96, 'f', 2) + QStringLiteral("mm"); };
    w.writeStartElement(QStringLiteral("draw:frame"));
    w.writeAttribute(QStringLiteral("draw:name"), QStringLiteral("Picture %1").arg(number));
    w.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
    w.writeAttribute(QStringLiteral("svg:width"), mm(picture.size.width()));
    w.writeAttribute(QStringLiteral("svg:height"), mm(picture.size.height()));
    w.writeEmptyElement(QStringLiteral("draw:image"));
    w.writeAttribute(QStringLiteral("xlink:href"), entry);
    w.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    w.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
    w.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    if (picture.placeholder)
        w.writeTextElement(QStringLiteral("svg:desc"), pictures::NotShown);
    w.writeEndElement();
}

} // namespace odt

} // namespace formats::office
