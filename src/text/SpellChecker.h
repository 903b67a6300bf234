#pragma once

// Spelling without widgets: a Hunspell dictionary, the words of a text that it does not
// know, its suggestions, and the words the user told it to ignore for this run.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;
class QStringDecoder;
class QStringEncoder;

namespace text {

class SpellChecker {
public:
    // Debian's package of the fallback dictionary, named where spelling is unavailable.
    static QString fallbackPackage() { return QStringLiteral("hunspell-en-us"); }
    // The folders Debian's dictionary packages install to.
    static QStringList systemDirectories();
    // The dictionary for a locale name such as "de_AT": that exact one, else one of the
    // same language, else en_US. Its path without ".aff"/".dic", or empty when none is
    // installed in `dirs`.
    static QString findDictionary(const QString &localeName, const QStringList &dirs);

    // Loads `dictionary` (a path without extension); isValid() tells whether it worked.
    explicit SpellChecker(const QString &dictionary);
    ~SpellChecker();
    SpellChecker(const SpellChecker &) = delete;
    SpellChecker &operator=(const SpellChecker &) = delete;

    bool isValid() const { return m_hunspell != nullptr; }
    // The dictionary's name, e.g. "en_US".
    QString language() const { return m_language; }

    bool isCorrect(const QString &word) const;
    // At most `max` replacements for a misspelled word, best first.
    QStringList suggestions(const QString &word, int max = 5) const;
    // "Ignore All": the word counts as correct from now on.
    void ignore(const QString &word);

    struct Range {
        int start;
        int length;
        friend bool operator==(const Range &, const Range &) = default;
    };
    // The words of `text` to check: letters with inner apostrophes; words with digits and
    // whole URLs and e-mail addresses are left out.
    static QList<Range> words(QStringView text);
    // The words of `text` that the dictionary does not know.
    QList<Range> misspellings(QStringView text) const;

private:
    std::unique_ptr<Hunspell> m_hunspell;
    std::unique_ptr<QStringEncoder> m_encoder;
    std::unique_ptr<QStringDecoder> m_decoder;
    QString m_language;
    // Answers already given: typing re-checks a paragraph's words many times over.
    mutable QHash<QString, bool> m_known;
};

} // namespace text
