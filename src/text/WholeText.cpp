#include "text/WholeText.h"

#include "formats/DocumentStructure.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace text {

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
            if (i < t.size() && !formats::isLineSeparator(t[i].unicode()))
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
    if (what.contains(QChar(QChar::ObjectReplacementCharacter)))
        return 0; // a picture is never found
    const qsizetype at = text.indexOf(what, start - 1, Qt::CaseInsensitive);
    return at < 0 ? 0 : at + 1;
}

} // namespace text
