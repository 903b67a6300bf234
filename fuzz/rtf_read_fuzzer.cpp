// libFuzzer target: any bytes through the RTF reader, and whatever it read through the
// writer and back, under ASan and UBSan.

#include "formats/rtf/Rtf.h"

#include <QByteArray>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    doc.setUndoRedoEnabled(false); // a scratch document: no history to keep
    const formats::Result result = formats::rtf::read(bytes, doc);
    if (!result.ok) {
        if (result.error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    // Our own file of what was read must read back to the same text.
    const QString text = doc.toRawText();
    QTextDocument again;
    again.setUndoRedoEnabled(false);
    if (!formats::rtf::read(formats::rtf::write(doc), again).ok || again.toRawText() != text)
        std::abort();
    return 0;
}
