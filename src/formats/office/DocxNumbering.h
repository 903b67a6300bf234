#pragma once

// Word's numbering part: which lists are numbered how.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTextListFormat>

namespace formats::office {

// "numId/level" -> the list's style, from word/numbering.xml; error says why it could not
// be read.
QHash<QString, QTextListFormat::Style> docxNumbering(const QByteArray &xml, QString &error);

} // namespace formats::office
