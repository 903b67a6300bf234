#pragma once

// The reader's first stage on its own: the whole file parsed into the reader's model,
// without building a document. For measuring the parser apart from Qt.

#include "formats/rtf/Rtf.h"

namespace formats::rtf::detail {

Result parseOnly(const QByteArray &data);

} // namespace formats::rtf::detail
