#pragma once

// A file that is not RTF, Word or OpenDocument: its bytes as text.

#include <QByteArray>
#include <QString>

namespace formats {

// The text of a file that is not RTF: UTF-8 when the bytes are valid UTF-8 (a byte
// order mark is dropped), Windows-1252 otherwise.
QString decodePlainText(const QByteArray &bytes);

} // namespace formats
