// Prints the plain text of an RTF file as the program reads it, one line per paragraph,
// so the reader can be compared with other RTF readers on the same files.

#include "QuorvaneVersion.h"
#include "document/rtf/Rtf.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextBlock>
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
    QFile file(args.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quorvane-rtf-to-text: %s: %s\n", qPrintable(args.at(1)),
                     qPrintable(file.errorString()));
        return 1;
    }
    QByteArray data = file.readAll();
    file.close();
    QTextDocument doc;
    const rtf::ReadResult result = rtf::read(data, doc);
    data = QByteArray(); // the document holds the text now
    if (!result.ok) {
        std::fprintf(stderr, "quorvane-rtf-to-text: %s: %s\n", qPrintable(args.at(1)), qPrintable(result.error));
        return 1;
    }
    // Block by block, so the whole text never exists twice in memory.
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line = b.text();
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        const QByteArray utf8 = line.toUtf8();
        std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
        std::fputc('\n', stdout);
    }
    return finishOutput();
}
