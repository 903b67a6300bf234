#include "formats/Pictures.h"

#include "formats/Limits.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace formats::pictures {

namespace {

// Drawings have no pixels of their own: an SVG is drawn at three times its size, which
// prints sharp at about 300 dpi.
constexpr int SvgScale = 3;

const QString Scheme = QStringLiteral("quorvane-picture");
// The picture's own bytes sit beside its image under a name of their own.
QUrl bytesUrl(const QString &name) { return QUrl(QStringLiteral("quorvane-picture-bytes:") + QUrl(name).path()); }

// The bytes as a device for QImageReader.
struct Source {
    explicit Source(const QByteArray &bytes)
    {
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
    }
    QBuffer buffer;
};

// Its own size: pixels at the resolution the file gives, 96 to the inch when it gives none
// or one no picture has.
QSizeF naturalSize(const QImage &image, const QByteArray &kind)
{
    if (kind == "svg")
        return QSizeF(image.size()) / SvgScale;
    const double dpi = std::round(image.dotsPerMeterX() * 0.0254); // files state whole dots per inch
    return QSizeF(image.size()) * (dpi >= 24 && dpi <= 2400 ? 96 / dpi : 1.0);
}

QImage drawPlaceholder()
{
    QImage image(384, 96, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xee, 0xee));
    QPainter p(&image);
    p.setPen(QPen(QColor(0x88, 0x88, 0x88), 4));
    p.drawRect(QRectF(image.rect()).adjusted(2, 2, -2, -2));
    // Text needs the fonts only a GUI application has; without one the box stays empty.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(32);
        p.setFont(font);
        p.setPen(QColor(0x55, 0x55, 0x55));
        p.drawText(image.rect(), Qt::AlignCenter, NotShown);
    }
    return image;
}

QByteArray key(const Picture &picture)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!picture.bytes.isEmpty()) {
        hash.addData(picture.bytes);
    } else {
        const QImage &i = picture.image;
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(i.constBits()), i.sizeInBytes()));
        hash.addData(QByteArray::number(i.width()) + 'x' + QByteArray::number(i.height()));
    }
    return hash.result().toHex().left(24);
}

} // namespace

QByteArray kindOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    const QByteArray head = bytes.left(1024);
    if ((head.trimmed().startsWith("<?xml") || head.trimmed().startsWith("<svg")) && head.contains("<svg"))
        return "svg";
    return {};
}

QString checkDeclared(const QByteArray &bytes, qint64 *decodedBytes)
{
    if (decodedBytes)
        *decodedBytes = 0;
    const QByteArray kind = kindOf(bytes);
    if (kind.isEmpty())
        return {};
    Source source(bytes);
    QSize size = QImageReader(&source.buffer, kind).size();
    if (!size.isValid())
        return {}; // no header to go by: decoding finds out, and shows a placeholder
    if (kind == "svg")
        size *= SvgScale;
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return pictureTooLarge(size.width(), size.height());
    const qint64 decoded = qint64(size.width()) * size.height() * 4;
    if (decoded > MaxPictureBytes)
        return pictureTooLarge(decoded);
    if (decodedBytes)
        *decodedBytes = decoded;
    return {};
}

Picture decode(const QByteArray &bytes, QSizeF size)
{
    const QByteArray kind = kindOf(bytes);
    if (kind.isEmpty() || !checkDeclared(bytes).isEmpty())
        return placeholder();
    Source source(bytes);
    QImageReader r(&source.buffer, kind);
    if (kind == "svg")
        r.setScaledSize(r.size() * SvgScale);
    // A phone stores a photograph as the sensor saw it and says how to turn it. A picture
    // file of its own is shown upright; one inside a document keeps the size and
    // orientation its document gave it.
    const bool ownFile = size.isEmpty();
    r.setAutoTransform(ownFile);
    QImage image;
    if (!r.read(&image) || image.isNull())
        return placeholder();
    Picture p{image, bytes, size};
    // Not every word processor turns a JPEG by its tag: a turned photograph is written
    // again, upright.
    if (ownFile && r.transformation() != QImageIOHandler::TransformationNone) {
        p.bytes.clear();
        QBuffer upright(&p.bytes);
        upright.open(QIODevice::WriteOnly);
        image.save(&upright, kind == "jpeg" ? "JPEG" : "PNG", kind == "jpeg" ? 92 : -1);
    }
    if (p.size.isEmpty())
        p.size = naturalSize(image, kind);
    return p;
}

Picture placeholder()
{
    static const QImage image = drawPlaceholder();
    return Picture{image, {}, QSizeF(image.size()) / 2, true};
}

Picture fromImage(const QImage &image, QSizeF size) { return Picture{image, {}, size}; }

QSizeF fitted(QSizeF size, qreal width)
{
    if (size.width() <= width || size.width() <= 0)
        return size;
    return QSizeF(width, size.height() * width / size.width());
}

void insert(QTextCursor &cursor, const Picture &picture)
{
    QTextDocument *doc = cursor.document();
    const QString name = Scheme + QLatin1Char(':') + QString::fromLatin1(key(picture));
    doc->addResource(QTextDocument::ImageResource, QUrl(name), picture.image);
    if (!picture.bytes.isEmpty())
        doc->addResource(QTextDocument::UserResource, bytesUrl(name), picture.bytes);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.size.width());
    f.setHeight(picture.size.height());
    if (picture.placeholder)
        f.setProperty(QTextFormat::ImageAltText, NotShown);
    cursor.insertImage(f);
}

Picture at(const QTextDocument &doc, const QTextImageFormat &format)
{
    Picture p;
    const QUrl url(format.name());
    p.image = doc.resource(QTextDocument::ImageResource, url).value<QImage>();
    if (url.scheme() == Scheme)
        p.bytes = doc.resource(QTextDocument::UserResource, bytesUrl(format.name())).toByteArray();
    p.size = QSizeF(format.width(), format.height());
    p.placeholder = format.stringProperty(QTextFormat::ImageAltText) == NotShown && p.bytes.isEmpty();
    if (p.image.isNull()) {
        const Picture missing = placeholder();
        p.image = missing.image;
        p.placeholder = true;
    }
    if (p.size.isEmpty())
        p.size = naturalSize(p.image, kindOf(p.bytes));
    return p;
}

QString Encoded::extension() const
{
    return kind == "jpeg" ? QStringLiteral("jpg") : QString::fromLatin1(kind);
}

QString Encoded::mimeType() const
{
    return QStringLiteral("image/") + (kind == "svg" ? QStringLiteral("svg+xml") : QString::fromLatin1(kind));
}

Encoded encoded(const Picture &picture, std::initializer_list<const char *> kinds)
{
    const QByteArray kind = kindOf(picture.bytes);
    if (!kind.isEmpty() && std::any_of(kinds.begin(), kinds.end(), [&](const char *k) { return kind == k; }))
        return {picture.bytes, kind};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.image.save(&buffer, "PNG");
    return {png, "png"};
}

} // namespace formats::pictures

namespace formats {

QString PictureBudget::add(const QByteArray &bytes)
{
    if (++m_count > MaxPictures)
        return tooManyPictures();
    qint64 decoded = 0;
    if (const QString why = pictures::checkDeclared(bytes, &decoded); !why.isEmpty())
        return why;
    m_decoded += decoded;
    return m_decoded > MaxPicturesBytes ? picturesTooLarge() : QString();
}

} // namespace formats
