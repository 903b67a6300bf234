#include "Shapes.h"

#include "BenchDocument.h"

namespace bench {

namespace {

QByteArray fontTable(qint64 n)
{
    QByteArray t = "{\\fonttbl";
    for (qint64 i = 0; i < n; ++i)
        t += "{\\f" + QByteArray::number(i) + "\\fnil Font " + QByteArray::number(i) + ";}";
    return t + "}";
}

QByteArray colorTable()
{
    QByteArray t = "{\\colortbl;";
    for (int i = 0; i < 255; ++i)
        t += "\\red" + QByteArray::number(i) + "\\green" + QByteArray::number(255 - i) + "\\blue128;";
    return t + "}";
}

// Words of prose, n characters of them in one piece.
QByteArray words(qint64 n)
{
    static const QByteArray sentence = "Our shop sells bread, cakes and pastries to the people of the town. ";
    QByteArray out;
    out.reserve(n);
    while (out.size() < n)
        out += sentence;
    out.truncate(n);
    return out;
}

// Paragraphs of 64 runs, so that a shape of many runs is not also one long paragraph.
QByteArray lineEvery(qint64 i)
{
    return i % 64 == 63 ? QByteArray("\\par\r\n") : QByteArray();
}

} // namespace

QStringList shapeNames()
{
    return {QStringLiteral("fonts"),           QStringLiteral("formats"),   QStringLiteral("runs"),
            QStringLiteral("empty-paragraphs"), QStringLiteral("paragraphs"), QStringLiteral("pages"),
            QStringLiteral("cell-paragraphs"), QStringLiteral("paragraph-length"), QStringLiteral("text-lines"),
            QStringLiteral("text-line-length"), QStringLiteral("prose")};
}

QByteArray shapeFile(const QString &shape, qint64 n)
{
    QByteArray body;
    QByteArray head = "{\\rtf1\\ansi\\deff0";
    if (shape == QLatin1String("fonts")) {
        // Every font of the table used once.
        head += fontTable(n);
        for (qint64 i = 0; i < n; ++i)
            body += "{\\f" + QByteArray::number(i) + " x}" + lineEvery(i);
    } else if (shape == QLatin1String("formats")) {
        // Each run a format of its own: 64 fonts, 255 colours, then sizes.
        head += fontTable(64) + colorTable();
        for (qint64 i = 0; i < n; ++i)
            body += "{\\f" + QByteArray::number(i % 64) + "\\cf" + QByteArray::number(1 + (i / 64) % 255) + "\\fs"
                    + QByteArray::number(2 + i / (64 * 255)) + " x}" + lineEvery(i);
    } else if (shape == QLatin1String("runs")) {
        // Bold and plain by turns: two formats, many runs.
        for (qint64 i = 0; i < n / 2; ++i)
            body += "{\\b x}y" + lineEvery(i);
    } else if (shape == QLatin1String("empty-paragraphs")) {
        body = QByteArray("\\par ").repeated(n);
    } else if (shape == QLatin1String("paragraphs")) {
        body = QByteArray("A short line of the plan.\\par\r\n").repeated(n);
    } else if (shape == QLatin1String("pages")) {
        body = QByteArray("\\page ").repeated(n);
    } else if (shape == QLatin1String("cell-paragraphs")) {
        body = "\\trowd\\cellx2000\\intbl " + QByteArray("a\\par ").repeated(n) + "\\cell\\row\\pard end";
    } else if (shape == QLatin1String("paragraph-length")) {
        body = words(n);
    } else if (shape == QLatin1String("text-lines")) {
        return QByteArray("\n").repeated(n);
    } else if (shape == QLatin1String("text-line-length")) {
        return words(n);
    } else if (shape == QLatin1String("prose")) {
        return rtfOfSize(n);
    } else {
        return {};
    }
    return head + " " + body + "}";
}

} // namespace bench
