// Pictures through every format and back: their bytes kept where the format takes them,
// their pixels and size everywhere; the readers' limits on pictures; a broken picture
// opening as a placeholder; and what other programs see of the pictures we write.

#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "formats/Pictures.h"
#include "formats/rtf/Rtf.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <memory>

using formats::Picture;

namespace {

enum class Kind { Rtf, Docx, Odt };

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return out;
}

QImage sample(int width, int height, int seed = 0)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + seed) % 256, (y * 53) % 256, (x * y + seed) % 256));
    return image;
}

// A small JPEG whose header declares another size; `seed` makes each one's bytes its own.
QByteArray declaring(int width, int height, int seed = 0)
{
    QByteArray jpeg = encoded(sample(16, 16, seed), "JPEG");
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    for (const auto &[at, v] : {std::pair{5, height >> 8}, {6, height & 255}, {7, width >> 8}, {8, width & 255}})
        jpeg[frame + at] = char(v);
    return jpeg;
}

// "a", the pictures, "b".
std::unique_ptr<QTextDocument> documentWith(const std::vector<Picture> &pictures)
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    c.insertText(QStringLiteral("a"));
    for (const Picture &p : pictures)
        formats::pictures::insert(c, p);
    c.insertText(QStringLiteral("b"));
    return doc;
}

Picture fromBytes(const QByteArray &bytes, QSizeF size = QSizeF(120, 90))
{
    Picture p = formats::pictures::decode(bytes, size);
    p.bytes = bytes; // a broken or oversized one as it is, so the writer passes it on
    return p;
}

QByteArray fileBytes(const QTextDocument &doc, Kind kind)
{
    switch (kind) {
    case Kind::Rtf: return formats::rtf::write(doc);
    case Kind::Docx: return formats::exports::encode(doc, formats::exports::Format::Docx, {});
    case Kind::Odt: return formats::exports::encode(doc, formats::exports::Format::Odt, {});
    }
    return {};
}

// The file written and opened as Open opens it; `doc` keeps "kept" when it is refused.
formats::Result reopen(const QByteArray &file, QTextDocument &doc)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("plan")));
    if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
        return formats::Result::failed(QStringLiteral("not written"));
    f.close();
    doc.setPlainText(QStringLiteral("kept"));
    return formats::loadFile(f.fileName(), doc, QTextCharFormat());
}

std::vector<Picture> picturesIn(const QTextDocument &doc)
{
    std::vector<Picture> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    out.push_back(formats::pictures::at(doc, it.fragment().charFormat().toImageFormat()));
    return out;
}

// A JPEG of 40 x 20 pixels whose EXIF tag says to turn it a quarter, as phones write them.
QByteArray turnedPhoto()
{
    // An APP1 segment of 34 bytes: "Exif", then a TIFF header with one entry, Orientation 6.
    const QByteArray exif("\xff\xe1\0\x22" "Exif\0\0" "MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 36);
    return encoded(sample(40, 20), "JPEG").insert(2, exif);
}

void addKinds()
{
    QTest::addColumn<Kind>("kind");
    for (const auto &[kind, name] : {std::pair{Kind::Rtf, "rtf"}, {Kind::Docx, "docx"}, {Kind::Odt, "odt"}})
        QTest::addRow("%s", name) << kind;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_keepsBytesPixelsAndSize_data();
    void roundTrip_keepsBytesPixelsAndSize();
    void limits_refuseTheFileWithTheReason_data();
    void limits_refuseTheFileWithTheReason();
    void brokenPicture_opensAsPlaceholder_data() { addKinds(); }
    void brokenPicture_opensAsPlaceholder();
    void exports_embedOrLinkOrLeaveOut();
    void turnedPhoto_standsUprightFromItsOwnFileOnly();
    void otherPrograms_seeThePictures();
};

void PicturesTest::roundTrip_keepsBytesPixelsAndSize_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("bytesKept");
    const QByteArray png = encoded(sample(40, 30), "PNG"), jpeg = encoded(sample(40, 30), "JPEG"),
                     bmp = encoded(sample(40, 30), "BMP");
    for (const auto &[kind, name] : {std::pair{Kind::Rtf, "rtf"}, {Kind::Docx, "docx"}, {Kind::Odt, "odt"}}) {
        QTest::addRow("%s png", name) << kind << png << true;
        QTest::addRow("%s jpeg", name) << kind << jpeg << true;
        // None takes a BMP as it is: it goes as a PNG of the same pixels.
        QTest::addRow("%s bmp", name) << kind << bmp << false;
    }
}

void PicturesTest::roundTrip_keepsBytesPixelsAndSize()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, bytesKept);
    const Picture in = formats::pictures::decode(bytes, QSizeF(150, 112.5));
    QVERIFY(!in.placeholder);
    const auto doc = documentWith({in, in});
    QTextDocument out;
    const formats::Result r = reopen(fileBytes(*doc, kind), out);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(out.toPlainText(), QStringLiteral("a\uFFFC\uFFFCb"));
    const std::vector<Picture> read = picturesIn(out);
    QCOMPARE(read.size(), size_t(2));
    for (const Picture &p : read) {
        QCOMPARE(p.image.convertToFormat(QImage::Format_RGB32), in.image.convertToFormat(QImage::Format_RGB32));
        QVERIFY2(qAbs(p.size.width() - 150) < 0.1 && qAbs(p.size.height() - 112.5) < 0.1,
                 qPrintable(QStringLiteral("%1 x %2").arg(p.size.width()).arg(p.size.height())));
        QCOMPARE(p.bytes == bytes, bytesKept);
    }
}

void PicturesTest::limits_refuseTheFileWithTheReason_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<std::vector<QByteArray>>("pictures");
    QTest::addColumn<QString>("error");
    const std::vector<QByteArray> together{declaring(8000, 8000, 1), declaring(8000, 8000, 2), declaring(8000, 8000, 3)};
    const std::vector<QByteArray> many(formats::MaxPictures + 1, encoded(sample(2, 2), "PNG"));
    for (const auto &[kind, name] : {std::pair{Kind::Rtf, "rtf"}, {Kind::Docx, "docx"}, {Kind::Odt, "odt"}}) {
        QTest::addRow("%s too wide", name) << kind << std::vector{declaring(10001, 10)}
                                           << formats::pictureTooLarge(10001, 10);
        QTest::addRow("%s too large to decode", name) << kind << std::vector{declaring(9000, 8000)}
                                                      << formats::pictureTooLarge(qint64(9000) * 8000 * 4);
        QTest::addRow("%s too large together", name) << kind << together << formats::picturesTooLarge();
        QTest::addRow("%s too many", name) << kind << many << formats::tooManyPictures();
    }
}

// Refused on what the headers declare, before anything is decoded.
void PicturesTest::limits_refuseTheFileWithTheReason()
{
    QFETCH(Kind, kind);
    QFETCH(std::vector<QByteArray>, pictures);
    QFETCH(QString, error);
    std::vector<Picture> in;
    for (const QByteArray &bytes : pictures)
        in.push_back(fromBytes(bytes));
    QTextDocument out;
    const formats::Result r = reopen(fileBytes(*documentWith(in), kind), out);
    QCOMPARE(r.error, error);
    QCOMPARE(out.toPlainText(), QStringLiteral("kept"));
}

void PicturesTest::brokenPicture_opensAsPlaceholder()
{
    QFETCH(Kind, kind);
    QByteArray broken = encoded(sample(40, 30), "PNG");
    broken.truncate(60); // the header whole, the pixels cut off
    QTextDocument out;
    const formats::Result r = reopen(fileBytes(*documentWith({fromBytes(broken)}), kind), out);
    QVERIFY2(r.ok, qPrintable(r.error));
    const std::vector<Picture> read = picturesIn(out);
    QCOMPARE(read.size(), size_t(1));
    QVERIFY(read[0].placeholder);
    QCOMPARE(read[0].image, formats::pictures::placeholder().image);
}

// HTML carries the bytes in the page, Markdown beside it, plain text nothing; a PDF
// draws the picture at its size.
void PicturesTest::exports_embedOrLinkOrLeaveOut()
{
    const QByteArray png = encoded(sample(300, 150), "PNG");
    const auto doc = documentWith({formats::pictures::decode(png, QSizeF(288, 144))});
    QTemporaryDir dir;
    using formats::exports::Format;
    const QString html = QString::fromUtf8(formats::exports::encode(*doc, Format::Html, {}));
    QVERIFY(html.contains(QStringLiteral("src=\"data:image/png;base64,") + QString::fromLatin1(png.toBase64()) + u'"'));
    QVERIFY(formats::exports::writeFile(*doc, Format::Markdown, dir.filePath(QStringLiteral("My plan.md")), {}).ok);
    QFile beside(dir.filePath(QStringLiteral("My plan-1.png")));
    QVERIFY(beside.open(QIODevice::ReadOnly));
    QCOMPARE(beside.readAll(), png);
    QFile md(dir.filePath(QStringLiteral("My plan.md")));
    QVERIFY(md.open(QIODevice::ReadOnly) && md.readAll().contains("](My%20plan-1.png)"));
    QCOMPARE(formats::exports::encode(*doc, Format::Text, {}), QByteArray("ab"));

    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        QSKIP("pdfimages (poppler-utils) is not installed");
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    QVERIFY(formats::exports::writeFile(*doc, Format::Pdf, pdf, {}).ok);
    // 300 pixels over 288 of 96 to the inch: 100 per inch.
    const QStringList image = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(u'\n').value(2).simplified().split(u' ');
    QCOMPARE(image.mid(3, 2), (QStringList{"300", "150"}));
    QCOMPARE(image.mid(12, 2), (QStringList{"100", "100"}));
}

// python-docx finds the inline picture and its size; LibreOffice draws the pictures of
// all three formats into its PDF.
// Inserted from its own file, a phone's photograph stands as taken, and is written upright
// for the word processors that ignore the tag; inside a document it stays as the
// document gave it.
void PicturesTest::turnedPhoto_standsUprightFromItsOwnFileOnly()
{
    const QByteArray photo = turnedPhoto();
    const Picture own = formats::pictures::decode(photo);
    QCOMPARE(own.image.size(), QSize(20, 40));
    QCOMPARE(formats::pictures::kindOf(own.bytes), QByteArray("jpeg"));
    QCOMPARE(formats::pictures::decode(own.bytes).image.size(), QSize(20, 40));
    const Picture inDocument = formats::pictures::decode(photo, QSizeF(40, 20));
    QCOMPARE(inDocument.image.size(), QSize(40, 20));
    QCOMPARE(inDocument.bytes, photo);
}

void PicturesTest::otherPrograms_seeThePictures()
{
    const auto doc = documentWith({formats::pictures::decode(encoded(sample(96, 48), "PNG"), QSizeF(96, 48)),
                                   formats::pictures::decode(encoded(sample(50, 50), "JPEG"), QSizeF(48, 48))});
    QTemporaryDir dir;
    for (const auto &[kind, name] : {std::pair{Kind::Rtf, "plan.rtf"}, {Kind::Docx, "plan.docx"}, {Kind::Odt, "plan.odt"}}) {
        QFile f(dir.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(fileBytes(*doc, kind)) > 0);
    }
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (!python.isEmpty() && run(python, {QStringLiteral("-c"), QStringLiteral("import docx")}).isEmpty()) {
        const QString shapes = run(python, {QStringLiteral("-c"),
                                            QStringLiteral("import docx,sys; d=docx.Document(sys.argv[1]); "
                                                           "print([(s.width.inches, s.height.inches) for s in d.inline_shapes])"),
                                            dir.filePath(QStringLiteral("plan.docx"))});
        QCOMPARE(shapes.trimmed(), QStringLiteral("[(1.0, 0.5), (0.5, 0.5)]"));
    }
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        QSKIP("LibreOffice or pdfimages is not installed");
    for (const char *name : {"plan.rtf", "plan.docx", "plan.odt"}) {
        QDir(dir.filePath(QStringLiteral("out"))).removeRecursively();
        run(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                      QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), dir.filePath(QLatin1String(name))});
        const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), dir.filePath(QStringLiteral("out/plan.pdf"))})
                                      .split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == 4, name); // the heading's two lines and a line each
        QCOMPARE(lines[2].simplified().split(u' ').mid(3, 2), (QStringList{"96", "48"}));
    }
}

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
