#include "document/rtf/Rtf.h"

#include <QTextDocument>

// Placeholder until the real codec lands.
namespace rtf {

bool looksLikeRtf(const QByteArray &data) { return data.trimmed().startsWith("{\\rtf"); }

QByteArray write(const QTextDocument &doc) { return "{\\rtf1 " + doc.toPlainText().toLatin1() + "}"; }

ReadResult read(const QByteArray &, QTextDocument &) { return {false, QStringLiteral("not implemented")}; }

} // namespace rtf
