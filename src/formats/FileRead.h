#pragma once

// The one way the program reads a file: only a regular file is read, and never more than
// a limit. A pipe, a device or a folder is refused before it is opened, so a FIFO cannot
// block the program and /dev/zero cannot fill its memory; the size a file reports is not
// trusted, at most limit + 1 bytes are read.

#include "formats/Result.h"

#include <QByteArray>
#include <QString>

namespace formats {

// The whole file into `data`, or the reason it was not read (data left empty): not a regular file, larger than
// maxBytes (tooLarge is the reason given then), or a system error.
Result readRegularFile(const QString &fileName, qint64 maxBytes, const QString &tooLarge, QByteArray &data);

} // namespace formats
