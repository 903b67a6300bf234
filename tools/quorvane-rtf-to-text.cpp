// Prints the text the program's Open shows for a file, in UTF-8: an RTF, Word or
// OpenDocument file as its reader reads it, a text file as plain text; any other file is
// refused. Paragraphs and line breaks end in "\n", so the output has a line end wherever
// the document has one and nothing after its last line. The reader can so be compared
// with other RTF readers on the same files.

#include "formats/DocumentLoad.h"
#include "QuorvaneVersion.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Standard output is the result, so a full disk or a closed pipe must not pass as success.
int finishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "quorvane-rtf-to-text: cannot write the output: %s\n", std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args.at(1) == QLatin1String("--version")) {
        std::printf("quorvane-rtf-to-text %s\n", QUORVANE_VERSION);
        return finishOutput();
    }
    if (args.size() != 2 || args.at(1).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: quorvane-rtf-to-text FILE\n       quorvane-rtf-to-text --version\n");
        return 2;
    }
    QTextDocument doc;
    formats::LoadInfo info;
    const formats::Result result = formats::loadFile(args.at(1), doc, QTextCharFormat(), &info);
    if (!result.ok && info.refused) {
        // The message names the file already.
        std::fprintf(stderr, "quorvane-rtf-to-text: %s\n", qPrintable(result.error));
        return 1;
    }
    if (!result.ok) {
        std::fprintf(stderr, "quorvane-rtf-to-text: %s: %s\n", qPrintable(args.at(1)), qPrintable(result.error));
        return 1;
    }
    // Block by block, so the whole text never exists twice in memory.
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            std::fputc('\n', stdout);
        QString line = b.text();
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        const QByteArray utf8 = line.toUtf8();
        std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    }
    return finishOutput();
}
