#pragma once

// The parts of an OpenDocument text file beside its content: the styles with the page
// and its footer, the metadata and the manifest.

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace formats::office::odt {

// A whole part: the declaration and the root element, with every namespace, around the
// inner XML.
QByteArray document(const char *root, const QByteArray &inner);
// The font declarations for the families the document uses (Arial always).
QByteArray fontFaces(const QStringList &families);
// The named styles, and the page of the given size with its footer: "Page N of M" at the
// right, after the name when there is one.
QByteArray styles(const QStringList &families, const QPageSize &page, const QString &footerName);
QByteArray meta(const QString &title);
// pictures: each entry's name and media type.
QByteArray manifest(const std::vector<std::pair<QString, QString>> &pictures = {});

} // namespace formats::office::odt
