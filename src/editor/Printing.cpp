#include "editor/Printing.h"

#include "formats/PrintLayout.h"
#include "formats/SafeWrite.h"

#include <QFile>
#include <QPaintEngine>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

formats::Result printDocument(const QTextDocument &doc, QPrinter &printer, const QString &name)
{
    const QString target = printer.outputFileName();
    // The preview paints on an engine of its own: only a real PDF file is redirected.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !target.isEmpty()
        && printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Pdf;
    if (!toFile) {
        // A printer that fails reports it in its own queue.
        formats::printlayout::paint(doc, printer, name);
        return {};
    }

    QTemporaryDir temp;
    if (!temp.isValid())
        return {false, temp.errorString()};
    QByteArray bytes;
    {
        const formats::FileSizeSignalGuard guard;
        printer.setOutputFileName(temp.filePath(QStringLiteral("print.pdf")));
        const int pages = formats::printlayout::paint(doc, printer, name);
        printer.setOutputFileName(target);
        QFile file(temp.filePath(QStringLiteral("print.pdf")));
        if (pages > 0 && file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    // The PDF writer does not report a failed write; a cut file lacks its end marker.
    if (!bytes.trimmed().endsWith("%%EOF"))
        return {false, QStringLiteral("The pages could not be written in full.")};
    return formats::writeFileSafely(target, bytes);
}
