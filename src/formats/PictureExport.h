#pragma once

// Pictures in the exports that keep them beside the text rather than in a container: an
// HTML page carries each as a data: URI, so the file stands alone; a Markdown file links
// each to a file written beside it (NAME-1.png, NAME-2.jpg...).

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class QTextDocument;

namespace formats::exports {

// Qt's HTML of the document with every picture's source a data: URI.
QString withDataUris(const QTextDocument &doc, QString html);

// The document as Markdown whose pictures link to files named after `base`; `beside` gets
// each file's name and bytes.
QString markdownWithPictures(const QTextDocument &doc, const QString &base,
                             std::vector<std::pair<QString, QByteArray>> &beside);

} // namespace formats::exports
