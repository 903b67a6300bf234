#include "text/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

namespace text {

namespace {

bool isApostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

// A stretch between spaces that is an address rather than words.
bool isAddress(QStringView chunk)
{
    if (chunk.contains(QLatin1String("://")) || chunk.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return true;
    const qsizetype at = chunk.indexOf(QLatin1Char('@'));
    return at > 0 && chunk.indexOf(QLatin1Char('.'), at) > at + 1;
}

// The real spelling of a word for the dictionary: typographic apostrophes as plain ones.
QString normalized(QStringView word)
{
    QString w = word.toString();
    w.replace(QChar(0x2019), QLatin1Char('\''));
    return w;
}

} // namespace

QStringList SpellChecker::systemDirectories()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell"),
            QStringLiteral("/usr/share/myspell/dicts")};
}

QString SpellChecker::findDictionary(const QString &localeName, const QStringList &dirs)
{
    const auto installed = [&dirs](const QString &name) -> QString {
        for (const QString &dir : dirs) {
            const QString base = QDir(dir).filePath(name);
            if (QFileInfo::exists(base + QStringLiteral(".aff")) && QFileInfo::exists(base + QStringLiteral(".dic")))
                return base;
        }
        return {};
    };
    const QString name = localeName.section(QLatin1Char('.'), 0, 0); // "de_AT.UTF-8" -> "de_AT"
    if (!name.isEmpty()) {
        if (QString found = installed(name); !found.isEmpty())
            return found;
        // Another country's dictionary of the same language beats none.
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        for (const QString &dir : dirs) {
            QStringList candidates = QDir(dir).entryList({language + QStringLiteral("_*.dic")}, QDir::Files, QDir::Name);
            for (const QString &dic : candidates) {
                if (QString found = installed(dic.chopped(4)); !found.isEmpty())
                    return found;
            }
        }
    }
    return installed(QStringLiteral("en_US"));
}

SpellChecker::SpellChecker(const QString &dictionary)
{
    const QByteArray aff = QFile::encodeName(dictionary + QStringLiteral(".aff"));
    const QByteArray dic = QFile::encodeName(dictionary + QStringLiteral(".dic"));
    if (dictionary.isEmpty() || !QFileInfo::exists(QString::fromLocal8Bit(aff)) || !QFileInfo::exists(QString::fromLocal8Bit(dic)))
        return;
    auto hunspell = std::make_unique<Hunspell>(aff.constData(), dic.constData());
    std::string encoding = hunspell->get_dict_encoding();
    if (encoding.empty())
        encoding = "ISO-8859-1";
    m_encoder = std::make_unique<QStringEncoder>(encoding.c_str());
    m_decoder = std::make_unique<QStringDecoder>(encoding.c_str());
    if (!m_encoder->isValid() || !m_decoder->isValid())
        return;
    m_hunspell = std::move(hunspell);
    m_language = QFileInfo(dictionary).fileName();
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isCorrect(const QString &word) const
{
    if (!m_hunspell)
        return true;
    if (const auto it = m_known.constFind(word); it != m_known.constEnd())
        return *it;
    const QByteArray encoded = m_encoder->encode(normalized(word));
    // A word the dictionary's alphabet cannot write is another language's; not an error.
    const bool correct = m_encoder->hasError() || m_hunspell->spell(encoded.toStdString());
    m_encoder->resetState();
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString &word, int max) const
{
    QStringList out;
    if (!m_hunspell)
        return out;
    const QByteArray encoded = m_encoder->encode(normalized(word));
    const bool unwritable = m_encoder->hasError();
    m_encoder->resetState();
    if (unwritable)
        return out;
    for (const std::string &s : m_hunspell->suggest(encoded.toStdString())) {
        if (out.size() >= max)
            break;
        out << m_decoder->decode(QByteArray::fromStdString(s));
        m_decoder->resetState();
    }
    return out;
}

void SpellChecker::ignore(const QString &word)
{
    m_known.insert(word, true);
    if (m_hunspell) {
        const QByteArray encoded = m_encoder->encode(normalized(word));
        if (!m_encoder->hasError())
            m_hunspell->add(encoded.toStdString());
        m_encoder->resetState();
    }
}

QList<SpellChecker::Range> SpellChecker::words(QStringView text)
{
    QList<Range> out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        qsizetype chunkEnd = i;
        while (chunkEnd < n && !text[chunkEnd].isSpace())
            ++chunkEnd;
        const QStringView chunk = text.mid(i, chunkEnd - i);
        if (!isAddress(chunk)) {
            for (qsizetype j = 0; j < chunk.size();) {
                if (!isWordChar(chunk[j])) {
                    ++j;
                    continue;
                }
                qsizetype end = j;
                bool digit = false;
                while (end < chunk.size()) {
                    if (isWordChar(chunk[end])) {
                        digit = digit || chunk[end].isDigit();
                        ++end;
                    } else if (isApostrophe(chunk[end]) && end + 1 < chunk.size() && chunk[end + 1].isLetter()) {
                        ++end;
                    } else {
                        break;
                    }
                }
                // Single letters and anything with a digit ("2nd", "Q3", "A4") stay unchecked.
                if (!digit && end - j > 1)
                    out.push_back({int(i + j), int(end - j)});
                j = end;
            }
        }
        i = chunkEnd;
    }
    return out;
}

QList<SpellChecker::Range> SpellChecker::misspellings(QStringView text) const
{
    QList<Range> out;
    if (!m_hunspell)
        return out;
    for (const Range &r : words(text)) {
        if (!isCorrect(text.mid(r.start, r.length).toString()))
            out.push_back(r);
    }
    return out;
}

} // namespace text
