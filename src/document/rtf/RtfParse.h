#pragma once

// The reader's first stage on its own: the whole file parsed into the reader's model,
// without building a document. For measuring the parser apart from Qt.

#include "document/rtf/Rtf.h"

namespace rtf::detail {

Result parseOnly(const QByteArray &data);

} // namespace rtf::detail
