// Reading files for Open and the command-line tool: only regular files, never more than
// the limit, never blocking; and text files held to the editor's paragraph limits.

#include "app/Messages.h"
#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/FileRead.h"
#include "formats/Limits.h"
#include "formats/office/Zip.h"
#include "formats/PlainText.h"
#include "formats/rtf/Rtf.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextTable>
#include <QTextDocument>

#include <sys/stat.h>

namespace {

const QString TooLarge = QStringLiteral("too large");
const QString NotRegular =
    QStringLiteral("It is not a regular file (it is a pipe, a device or a socket), so it cannot be opened.");

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class FileLoadTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readRegularFile_data();
    void readRegularFile();
    void loadText_data();
    void loadText();
    void refuseBinary_data();
    void refuseBinary();
    void tool_printsWordAndOpenDocumentText_data();
    void tool_printsWordAndOpenDocumentText();

private:
    std::unique_ptr<QTemporaryDir> dir;
    void decodePlainText_utf8OrWindows1252_data();
    void decodePlainText_utf8OrWindows1252();
};

void FileLoadTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

// "kind" makes the file: a size in bytes for a regular file, or fifo, link-zero,
// link-urandom, null, folder, missing.
void FileLoadTest::readRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty file") << "0" << qint64(10) << QString();
    QTest::newRow("under the limit") << "9" << qint64(10) << QString();
    QTest::newRow("at the limit") << "10" << qint64(10) << QString();
    QTest::newRow("one byte over") << "11" << qint64(10) << TooLarge;
    QTest::newRow("larger than the first buffer") << "100000" << qint64(1000000) << QString();
    QTest::newRow("fifo without a writer") << "fifo" << qint64(10) << NotRegular;
    QTest::newRow("link to /dev/zero") << "link-zero" << qint64(1 << 30) << NotRegular;
    QTest::newRow("link to /dev/urandom") << "link-urandom" << qint64(1 << 30) << NotRegular;
    QTest::newRow("/dev/null") << "null" << qint64(10) << NotRegular;
    QTest::newRow("folder") << "folder" << qint64(10) << QStringLiteral("It is a folder, not a file.");
    QTest::newRow("missing") << "missing" << qint64(10) << QStringLiteral("No such file or directory");
}

void FileLoadTest::readRegularFile()
{
    QFETCH(QString, kind);
    QFETCH(qint64, limit);
    QFETCH(QString, error);
    QString path = dir->filePath(QStringLiteral("file"));
    bool isSize = false;
    const int size = kind.toInt(&isSize);
    QByteArray content;
    if (isSize) {
        for (int i = 0; i < size; ++i)
            content += char('a' + i % 26);
        QVERIFY(writeFile(path, content));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind.startsWith(QLatin1String("link-"))) {
        QVERIFY(QFile::link(QStringLiteral("/dev/") + kind.mid(5), path));
    } else if (kind == QLatin1String("null")) {
        path = QStringLiteral("/dev/null");
    } else if (kind == QLatin1String("folder")) {
        path = dir->path();
    }
    QByteArray data;
    const formats::Result r = formats::readRegularFile(path, limit, TooLarge, data);
    QCOMPARE(r.error, error);
    QCOMPARE(data, error.isEmpty() ? content : QByteArray());
}

// Text files keep the same limits as RTF: paragraphs as the cursor splits them, and the
// length of one paragraph.
void FileLoadTest::loadText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("blocks");
    const int most = formats::MaxParagraphs;
    QTest::newRow("most lines") << QByteArray(most - 1, '\n') << QString() << most;
    QTest::newRow("one line too many") << QByteArray(most, '\n') << formats::tooManyParagraphs() << 0;
    QTest::newRow("CR LF counts once") << QByteArray("\r\n").repeated(most - 1) << QString() << most;
    QTest::newRow("lone CRs count") << QByteArray(most, '\r') << formats::tooManyParagraphs() << 0;
    QTest::newRow("longest line") << QByteArray(formats::MaxParagraphLength, 'x') << QString() << 1;
    QTest::newRow("line too long") << QByteArray(formats::MaxParagraphLength + 1, 'x') << formats::paragraphTooLong() << 0;
    QTest::newRow("long lines under the limit")
        << (QByteArray(formats::MaxParagraphLength, 'x') + '\n' + QByteArray(formats::MaxParagraphLength, 'y')) << QString()
        << 2;
}

void FileLoadTest::loadText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(int, blocks);
    const QString path = dir->filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeFile(path, bytes));
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat());
    QCOMPARE(r.error, error);
    QCOMPARE(r.ok, error.isEmpty());
    if (r.ok)
        QCOMPARE(doc.blockCount(), blocks);
    else
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
}

// Files that are neither documents nor text are refused before anything is shown, by Open
// and by the command-line tool alike; text that merely looks odd is still read.
void FileLoadTest::refuseBinary_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kind");
    const QByteArray tail = QByteArray("some text after the signature\n").repeated(4);
    QTest::newRow("pdf") << QByteArray("%PDF-1.7\n") + tail << "a PDF file";
    QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n") + tail << "a PNG image";
    QTest::newRow("jpeg") << QByteArray("\xff\xd8\xff\xe0") + tail << "a JPEG image";
    QTest::newRow("gif") << QByteArray("GIF89a") + tail << "a GIF image";
    QTest::newRow("zip without a document") << formats::office::zip::write({{QStringLiteral("word/notes.txt"), tail}})
                                            << "a ZIP archive";
    QTest::newRow("zip of another OpenDocument kind")
        << formats::office::zip::write({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", true},
                              {QStringLiteral("content.xml"), "<x/>"}})
        << "a ZIP archive";
    QTest::newRow("elf") << QByteArray("\x7f" "ELF\x02\x01") + tail << "a program (an ELF executable)";
    QTest::newRow("Word 97-2003") << QByteArray("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1") + tail
                                  << "an older or password-protected Microsoft Office file";
    QTest::newRow("NUL in the first block") << QByteArray(4000, 'a') + '\0' << "a binary file, not text";
    QTest::newRow("UTF-16 without a reader") << QByteArray("h\0i\0", 4) << "a binary file, not text";
    QTest::newRow("control bytes") << QByteArray("abc\x01\x02\x03") << "a binary file, not text";
    QTest::newRow("unassigned Windows-1252 byte") << QByteArray("abc\x81") << "a binary file, not text";
    QTest::newRow("NUL past the first block") << QByteArray(5000, 'a') + '\0' << QString();
    QTest::newRow("UTF-8 cut at the block's end") << QByteArray(4095, 'a') + "\xe2\x82\xac" << QString();
    QTest::newRow("form feed, tab, Ctrl+Z") << QByteArray("a\fb\tc\x1a") << QString();
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9 \x80") << QString();
}

void FileLoadTest::refuseBinary()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    const QString path = dir->filePath(QStringLiteral("report.pdf"));
    QVERIFY(writeFile(path, bytes));
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    formats::LoadInfo info;
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat(), &info);
    QCOMPARE(info.refused, !kind.isEmpty());
    QCOMPARE(r.ok, kind.isEmpty());
    if (r.ok)
        return;
    QCOMPARE(r.error, formats::notADocument(QStringLiteral("report.pdf"), kind));
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));

    QProcess tool;
    tool.start(QStringLiteral(QUORVANE_RTF_TO_TEXT), {path});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(tool.readAllStandardOutput().isEmpty());
    QCOMPARE(QString::fromUtf8(tool.readAllStandardError()), "quorvane-rtf-to-text: " + r.error + "\n");
}

void FileLoadTest::tool_printsWordAndOpenDocumentText_data()
{
    QTest::addColumn<formats::exports::Format>("format");
    QTest::newRow("docx") << formats::exports::Format::Docx;
    QTest::newRow("odt") << formats::exports::Format::Odt;
}

// The tool reads what Open reads: a line break and every block, a table cell's too, end a
// line.
void FileLoadTest::tool_printsWordAndOpenDocumentText()
{
    QFETCH(formats::exports::Format, format);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Plan\u2028caf\u00e9\tx"));
    c.insertBlock();
    c.insertTable(1, 2)->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("cell"));
    const QString path = dir->filePath(QStringLiteral("plan.txt"));
    QVERIFY(formats::exports::writeFile(doc, format, path, {}).ok);
    QProcess tool;
    tool.start(QStringLiteral(QUORVANE_RTF_TO_TEXT), {path});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    // Block by block as the document itself holds them: the line, the two cells and the
    // block after the table. The empty block the table stands in is not written: it takes
    // no room on the page, and the file paginates as print does.
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), QStringLiteral("Plan\ncaf\u00e9\tx\n\ncell\n"));
    QCOMPARE(doc.blockCount(), 5);
}

void FileLoadTest::decodePlainText_utf8OrWindows1252_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Plan\r\nTwo") << QStringLiteral("Plan\r\nTwo");
    QTest::newRow("utf-8") << QByteArray("Caf\xc3\xa9 \xe2\x82\xac") << QStringLiteral("Caf\u00e9 \u20ac");
    QTest::newRow("utf-8 with BOM") << QByteArray("\xef\xbb\xbfPlan") << QStringLiteral("Plan");
    QTest::newRow("windows-1252") << QByteArray("Caf\xe9 \x80 \x93q\x94 \x81")
                                  << QStringLiteral("Caf\u00e9 \u20ac \u201cq\u201d \u0081");
    QTest::newRow("truncated utf-8 is 1252") << QByteArray("ab\xc3") << QStringLiteral("ab\u00c3");
    QTest::newRow("empty") << QByteArray() << QString();
}

void FileLoadTest::decodePlainText_utf8OrWindows1252()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(formats::decodePlainText(bytes), text);
}

QTEST_MAIN(FileLoadTest)
#include "test_fileload.moc"
