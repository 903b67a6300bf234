// Word and OpenDocument files: what the writers make is read by Word's and LibreOffice's
// neighbours (LibreOffice, python-docx, pandoc) with its structure, and read back by Open.

#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/DocumentStructure.h"
#include "formats/office/Zip.h"
#include "formats/rtf/Rtf.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamReader>

using formats::exports::Format;

namespace {

QString run(const QString &program, const QStringList &args, const QString &dir = {})
{
    QProcess p;
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A plan's shapes: a title, the contents, headings of both levels, formatted runs, a
// line break and a tab, a page break, a list and a table.
void fillPlan(QTextDocument &doc)
{
    QTextCursor c(&doc);
    QTextBlockFormat title;
    title.setProperty(formats::TitleProperty, true);
    title.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(title);
    c.insertText(QStringLiteral("Harbour Bakery"));
    QTextBlockFormat entry;
    entry.setProperty(formats::ContentsLevelProperty, 1);
    c.insertBlock(entry);
    c.insertText(QStringLiteral("Purpose\t2"));
    entry.setProperty(formats::ContentsLevelProperty, 2);
    c.insertBlock(entry);
    c.insertText(QStringLiteral("Goals\t2"));

    QTextBlockFormat h1;
    h1.setHeadingLevel(1);
    h1.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(h1);
    c.insertText(QStringLiteral("Purpose"));
    c.insertBlock(QTextBlockFormat());
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(12);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    italic.setForeground(QColor(200, 0, 0));
    c.insertText(QStringLiteral("We bake "), plain);
    c.insertText(QStringLiteral("strong"), bold);
    c.insertText(QStringLiteral(" and "), plain);
    c.insertText(QStringLiteral("slanted"), italic);
    c.insertText(QStringLiteral(" bread.\u2028Second line\tafter a tab."), plain);
    QTextBlockFormat h2;
    h2.setHeadingLevel(2);
    c.insertBlock(h2);
    c.insertText(QStringLiteral("Goals"), plain);
    c.insertBlock(QTextBlockFormat());
    c.createList(QTextListFormat::ListDecimal);
    c.insertText(QStringLiteral("First goal"), plain);
    c.insertBlock();
    c.insertText(QStringLiteral("Second goal"), plain);
    c.insertBlock(QTextBlockFormat());
    QTextTable *t = c.insertTable(2, 2);
    const char *cells[] = {"Item", "Cost", "Oven", "4000"};
    for (int i = 0; i < 4; ++i)
        t->cellAt(i / 2, i % 2).firstCursorPosition().insertText(QLatin1String(cells[i]), plain);
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("The end."), plain);
}

// The entry's XML parses without error; its text.
QString entryText(const QString &file, const QString &entry, QString *error)
{
    QFile f(file);
    formats::office::zip::Archive zip;
    QByteArray xml;
    if (!f.open(QIODevice::ReadOnly) || !zip.open(f.readAll()).ok || !zip.read(entry, 1 << 26, xml).ok) {
        *error = QStringLiteral("no entry");
        return {};
    }
    QXmlStreamReader r(xml);
    QString text;
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::Characters)
            text += r.text();
    *error = r.hasError() ? r.errorString() : QString();
    return text;
}

// The block of exactly this text, else the first that starts with it.
QTextBlock blockStarting(const QTextDocument &doc, const QString &start)
{
    QTextBlock first;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text() == start)
            return b;
        if (!first.isValid() && b.text().startsWith(start))
            first = b;
    }
    return first;
}

QTextCharFormat formatOf(const QTextDocument &doc, const QString &word)
{
    const QTextCursor c = doc.find(word);
    return c.isNull() ? QTextCharFormat() : c.charFormat();
}

} // namespace

class OfficeTest : public QObject {
    Q_OBJECT
private slots:
    void readByOthers_data();
    void readByOthers();
    void roundTrip_data();
    void roundTrip();
    void invalidCharacters_dropped_data();
    void invalidCharacters_dropped();
};

void OfficeTest::readByOthers_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("docx") << Format::Docx << "plan.docx";
    QTest::newRow("odt") << Format::Odt << "plan.odt";
}

// LibreOffice shows the same words on two pages with their footers; pandoc finds both
// heading levels, the emphasis and the table; python-docx sees the styles by name.
void OfficeTest::readByOthers()
{
    QFETCH(Format, format);
    QFETCH(QString, name);
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (soffice.isEmpty() || pandoc.isEmpty() || pdftotext.isEmpty())
        QSKIP("LibreOffice, pandoc or poppler-utils is not installed");
    QTemporaryDir dir;
    QTextDocument doc;
    fillPlan(doc);
    const QString path = dir.filePath(name);
    QVERIFY(formats::exports::writeFile(doc, format, path, QStringLiteral("Harbour Bakery")).ok);

    const QString md = run(pandoc, {path, QStringLiteral("-t"), QStringLiteral("markdown"), QStringLiteral("--wrap=none")});
    for (const char *want : {"\n# Purpose", "\n## Goals", "**strong**", "*slanted*", "Second line", "1.  First goal",
                             "Oven", "4000"})
        QVERIFY2(md.contains(QLatin1String(want)), qPrintable(want + QStringLiteral(" not in:\n") + md));

    run(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                  QStringLiteral("--outdir"), dir.path(), path});
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    const QString text = run(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    // The plan opens with its title: the cover page has no footer.
    QVERIFY2(pages[0].contains(QStringLiteral("Harbour Bakery")) && !pages[0].contains(QStringLiteral("Page 1 of 2")),
             qPrintable(pages[0]));
    for (const char *want : {"Purpose", "strong", "slanted", "Second line", "First goal", "Oven", "4000", "The end.",
                             "Page 2 of 2"})
        QVERIFY2(pages[1].contains(QLatin1String(want)), qPrintable(want + QStringLiteral(" not in:\n") + pages[1]));

    if (format == Format::Docx) {
        const QString styles = run(QStringLiteral("/usr/bin/python3"),
                                   {QStringLiteral("-c"),
                                    QStringLiteral("import docx,sys\n"
                                                   "d=docx.Document(sys.argv[1])\n"
                                                   "print('|'.join(p.style.name for p in d.paragraphs))\n"
                                                   "print(len(d.tables), d.tables[0].cell(1,0).text)"),
                                    path});
        QVERIFY2(styles.startsWith(QStringLiteral("Title|toc 1|toc 2|heading 1|Normal|heading 2|")) ||
                     styles.startsWith(QStringLiteral("Title|toc 1|toc 2|Heading 1|Normal|Heading 2|")),
                 qPrintable(styles));
        QVERIFY2(styles.contains(QStringLiteral("\n1 Oven")), qPrintable(styles));
    }
}

void OfficeTest::roundTrip_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("convertTo"); // LibreOffice makes the file read, from ours
    QTest::addColumn<formats::FileKind>("kind");
    QTest::newRow("docx") << Format::Docx << QString() << formats::FileKind::Word;
    QTest::newRow("odt") << Format::Odt << QString() << formats::FileKind::OpenDocument;
    QTest::newRow("docx by LibreOffice") << Format::Odt << "docx" << formats::FileKind::Word;
    QTest::newRow("odt by LibreOffice") << Format::Docx << "odt" << formats::FileKind::OpenDocument;
}

// What Open reads back: the structure and formats, whoever wrote the file, and the name
// plays no part.
void OfficeTest::roundTrip()
{
    QFETCH(Format, format);
    QFETCH(QString, convertTo);
    QFETCH(formats::FileKind, kind);
    QTemporaryDir dir;
    QTextDocument written;
    fillPlan(written);
    QString path = dir.filePath(QStringLiteral("plan.bin"));
    QVERIFY(formats::exports::writeFile(written, format, path, QStringLiteral("Harbour Bakery")).ok);
    if (!convertTo.isEmpty()) {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        const QString source = dir.filePath(format == Format::Docx ? QStringLiteral("in.docx") : QStringLiteral("in.odt"));
        QVERIFY(QFile::rename(path, source));
        run(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), convertTo,
                      QStringLiteral("--outdir"), dir.path(), source});
        path = dir.filePath(QStringLiteral("in.") + convertTo);
    }

    QTextDocument doc;
    formats::LoadInfo info;
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat(), &info);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(info.kind, kind);
    QCOMPARE(info.leftOut, QString());
    QVERIFY(formats::isTitle(blockStarting(doc, QStringLiteral("Harbour Bakery")).blockFormat()));
    const QTextBlockFormat purpose = blockStarting(doc, QStringLiteral("Purpose")).blockFormat();
    QCOMPARE(purpose.headingLevel(), 1);
    QVERIFY(purpose.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(blockStarting(doc, QStringLiteral("Goals")).blockFormat().headingLevel(), 2);
    QCOMPARE(blockStarting(doc, QStringLiteral("We bake")).text(),
             QStringLiteral("We bake strong and slanted bread.\u2028Second line\tafter a tab."));
    QCOMPARE(formatOf(doc, QStringLiteral("strong")).fontWeight(), int(QFont::Bold));
    const QTextCharFormat slanted = formatOf(doc, QStringLiteral("slanted"));
    QVERIFY(slanted.fontItalic());
    QCOMPARE(slanted.foreground().color(), QColor(200, 0, 0));
    QCOMPARE(slanted.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    QCOMPARE(slanted.fontPointSize(), 12.0);
    const QTextList *list = blockStarting(doc, QStringLiteral("First goal")).textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(blockStarting(doc, QStringLiteral("Second goal")).textList(), list);
    QCOMPARE(list->count(), 2);
    const QTextTable *table = QTextCursor(blockStarting(doc, QStringLiteral("Oven"))).currentTable();
    QVERIFY(table);
    QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("4000"));
    QVERIFY(blockStarting(doc, QStringLiteral("The end.")).isValid());
}

void OfficeTest::invalidCharacters_dropped_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("entry");
    QTest::newRow("docx") << Format::Docx << "word/document.xml";
    QTest::newRow("odt") << Format::Odt << "content.xml";
}

// Pasted text brings characters XML cannot hold; the file stays valid without them.
void OfficeTest::invalidCharacters_dropped()
{
    QFETCH(Format, format);
    QFETCH(QString, entry);
    QTemporaryDir dir;
    QTextDocument doc;
    const QChar bad[] = {QChar(0x01), QChar(0x1F), QChar(0xFFFE), QChar(0xFFFF), QChar(0xD800), QChar(0xDC00)};
    QString text = QStringLiteral("a");
    for (const QChar c : bad)
        text += c + QStringLiteral("b");
    text += QStringLiteral("\U0001F600"); // a pair stays
    QTextCursor(&doc).insertText(text);
    const QString path = dir.filePath(QStringLiteral("odd"));
    QVERIFY(formats::exports::writeFile(doc, format, path, QStringLiteral("x\x02y")).ok);
    QString error;
    QCOMPARE(entryText(path, entry, &error).trimmed(), QStringLiteral("abbbbbb\U0001F600"));
    QCOMPARE(error, QString());
}

QTEST_MAIN(OfficeTest)
#include "test_office.moc"
