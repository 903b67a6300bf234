#include "document/DocumentText.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

WholeText::WholeText(const QTextDocument &doc)
{
    m_text.reserve(doc.characterCount() + doc.blockCount());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            m_text += CrLf;
        const QString t = block.text();
        const int start = block.position();
        int runStart = 0;
        for (int i = 0; i <= t.size(); ++i) {
            if (i < t.size() && t[i] != QChar::LineSeparator)
                continue;
            m_runs.push_back({m_text.size(), start + runStart, i - runStart});
            m_text += QStringView(t).mid(runStart, i - runStart);
            if (i < t.size())
                m_text += CrLf;
            runStart = i + 1;
        }
    }
    if (m_runs.empty())
        m_runs.push_back({0, 0, 0});
}

const WholeText::Run &WholeText::runAtText(qsizetype textPos) const
{
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), textPos,
                               [](qsizetype pos, const Run &r) { return pos < r.text; });
    return it == m_runs.begin() ? m_runs.front() : *(it - 1);
}

const WholeText::Run &WholeText::runAtDocument(int docPos) const
{
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), docPos,
                               [](int pos, const Run &r) { return pos < r.doc; });
    return it == m_runs.begin() ? m_runs.front() : *(it - 1);
}

qsizetype WholeText::fromDocument(int docPos) const
{
    const Run &r = runAtDocument(docPos);
    return r.text + std::clamp(docPos - r.doc, 0, r.length);
}

int WholeText::toDocument(qsizetype textPos) const
{
    const Run &r = runAtText(textPos);
    return r.doc + int(std::clamp<qsizetype>(textPos - r.text, 0, r.length));
}

qsizetype findText(const QString &text, const QString &what, qsizetype start)
{
    if (text.isEmpty())
        return 0;
    start = std::max<qsizetype>(start, 1);
    if (start > text.size())
        return 0;
    if (what.isEmpty())
        return start;
    const qsizetype at = text.indexOf(what, start - 1, Qt::CaseInsensitive);
    return at < 0 ? 0 : at + 1;
}

namespace {

// Windows-1252 where it differs from Latin-1; its five unused bytes stay C1 controls,
// as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString decodePlainText(const QByteArray &bytes)
{
    // Stateless: a sequence cut off at the end counts as invalid.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;

    text.resize(bytes.size());
    QChar *out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}
