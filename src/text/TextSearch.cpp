#include "text/TextSearch.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace text {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_'); }

bool standsAlone(const QString &text, qsizetype at, qsizetype length)
{
    return (at == 0 || !isWordChar(text[at - 1])) && (at + length >= text.size() || !isWordChar(text[at + length]));
}

// A picture is never found, so never replaced either.
bool searchable(const QString &what) { return !what.isEmpty() && !what.contains(QChar(QChar::ObjectReplacementCharacter)); }

Qt::CaseSensitivity caseOf(SearchOptions o) { return o.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive; }

// The first match in `text` at or after `from`, -1 when none.
qsizetype indexIn(const QString &text, const QString &what, qsizetype from, SearchOptions o)
{
    for (qsizetype i = text.indexOf(what, from, caseOf(o)); i >= 0; i = text.indexOf(what, i + 1, caseOf(o))) {
        if (!o.wholeWords || standsAlone(text, i, what.size()))
            return i;
    }
    return -1;
}

// The last match in `text` that ends at or before `end`, -1 when none.
qsizetype lastIndexIn(const QString &text, const QString &what, qsizetype end, SearchOptions o)
{
    qsizetype from = end - what.size();
    while (from >= 0) {
        const qsizetype i = text.lastIndexOf(what, from, caseOf(o));
        if (i < 0)
            return -1;
        if (!o.wholeWords || standsAlone(text, i, what.size()))
            return i;
        from = i - 1;
    }
    return -1;
}

} // namespace

TextMatch findInDocument(const QTextDocument &doc, const QString &what, int from, SearchOptions options, bool backward)
{
    if (!searchable(what))
        return {};
    QTextBlock block = doc.findBlock(from);
    if (!block.isValid())
        block = backward ? doc.lastBlock() : QTextBlock();
    qsizetype offset = from - (block.isValid() ? block.position() : 0);
    while (block.isValid()) {
        const QString text = block.text();
        const qsizetype i = backward ? lastIndexIn(text, what, std::min<qsizetype>(offset, text.size()), options)
                                     : indexIn(text, what, offset, options);
        if (i >= 0)
            return {block.position() + int(i), int(what.size())};
        block = backward ? block.previous() : block.next();
        offset = backward ? block.length() : 0;
    }
    return {};
}

bool isMatch(const QTextDocument &doc, int start, int end, const QString &what, SearchOptions options)
{
    if (what.isEmpty() || end - start != what.size())
        return false;
    const QTextBlock block = doc.findBlock(start);
    if (!block.isValid() || end > block.position() + block.length() - 1)
        return false;
    const QString text = block.text();
    const qsizetype at = start - block.position();
    return QStringView(text).mid(at, what.size()).compare(what, caseOf(options)) == 0
           && (!options.wholeWords || standsAlone(text, at, what.size()));
}

int replaceAll(QTextDocument &doc, const QString &what, const QString &with, SearchOptions options)
{
    if (!searchable(what))
        return 0;
    std::vector<int> starts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        for (qsizetype i = indexIn(text, what, 0, options); i >= 0; i = indexIn(text, what, i + what.size(), options))
            starts.push_back(b.position() + int(i));
    }
    if (starts.empty())
        return 0;
    // From the end backwards, so the positions still to come stay valid.
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        c.setPosition(*it + 1);
        const QTextCharFormat format = c.charFormat();
        c.setPosition(*it);
        c.setPosition(*it + int(what.size()), QTextCursor::KeepAnchor);
        c.insertText(with, format);
    }
    c.endEditBlock();
    return int(starts.size());
}

qsizetype findTextBackward(const QString &text, const QString &what, qsizetype before)
{
    if (text.isEmpty() || before <= 0)
        return 0;
    before = std::min(before, text.size());
    if (what.isEmpty())
        return before;
    if (what.contains(QChar(QChar::ObjectReplacementCharacter)))
        return 0;
    const qsizetype at = text.lastIndexOf(what, before - 1, Qt::CaseInsensitive);
    return at < 0 ? 0 : at + 1;
}

} // namespace text
