// The editor's writing tools below the widgets: the spelling checker against the real
// en_US dictionary, find and replace in a document, and the word count.

#include "editor/EditorView.h"
#include "text/SpellChecker.h"
#include "text/TextSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString enUS() { return text::SpellChecker::findDictionary(QStringLiteral("en_US"), text::SpellChecker::systemDirectories()); }

// The words of `text` that `ranges` cover, for readable comparisons.
QStringList wordsOf(const QString &text, const QList<text::SpellChecker::Range> &ranges)
{
    QStringList out;
    for (const auto &r : ranges)
        out << text.mid(r.start, r.length);
    return out;
}

bool touch(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class WritingToolsTest : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------------------- spelling

    void dictionary_followsLocaleThenLanguageThenEnglish_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("found");
        QTest::newRow("exact") << QStringList{"de_AT", "de_DE", "en_US"} << "de_AT" << "de_AT";
        QTest::newRow("encoding suffix") << QStringList{"de_AT", "en_US"} << "de_AT.UTF-8" << "de_AT";
        QTest::newRow("same language") << QStringList{"de_DE", "en_US"} << "de_CH" << "de_DE";
        QTest::newRow("English fallback") << QStringList{"en_US"} << "fr_FR" << "en_US";
        QTest::newRow("C locale") << QStringList{"en_US"} << "C" << "en_US";
        QTest::newRow("none at all") << QStringList{"de_DE"} << "fr_FR" << "";
        QTest::newRow("half a dictionary") << QStringList{"fr_FR.dic-only", "en_US"} << "fr_FR" << "en_US";
    }

    void dictionary_followsLocaleThenLanguageThenEnglish()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, locale);
        QFETCH(QString, found);
        QTemporaryDir dir;
        for (const QString &name : installed) {
            if (name.endsWith(QLatin1String(".dic-only"))) {
                QVERIFY(touch(dir.filePath(name.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".dic"))));
                continue;
            }
            QVERIFY(touch(dir.filePath(name + QStringLiteral(".aff"))));
            QVERIFY(touch(dir.filePath(name + QStringLiteral(".dic"))));
        }
        const QString missing = dir.filePath(QStringLiteral("missing"));
        const QString got = text::SpellChecker::findDictionary(locale, {missing, dir.path()});
        QCOMPARE(got, found.isEmpty() ? QString() : dir.filePath(found));
    }

    void checker_withoutDictionary_flagsNothing()
    {
        text::SpellChecker none{QString()};
        QVERIFY(!none.isValid());
        QVERIFY(none.misspellings(u"Thiss is wrongg").isEmpty());
        QVERIFY(none.suggestions(QStringLiteral("wrongg")).isEmpty());
        QVERIFY(none.isCorrect(QStringLiteral("wrongg")));
    }

    void words_leaveOutDigitsAddressesAndSingleLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "Our shop opens." << QStringList{"Our", "shop", "opens"};
        QTest::newRow("apostrophes") << "the owner's plan, don\u2019t 'quote'"
                                     << QStringList{"the", "owner's", "plan", "don\u2019t", "quote"};
        QTest::newRow("digits") << "Q3 2nd 2025 A4 pages" << QStringList{"pages"};
        QTest::newRow("hyphen splits") << "well-known long-term" << QStringList{"well", "known", "long", "term"};
        QTest::newRow("URLs") << "see https://exampel.com/pagge and www.exampel.org now"
                              << QStringList{"see", "and", "now"};
        QTest::newRow("e-mail") << "write to infoo@acmme.com today" << QStringList{"write", "to", "today"};
        QTest::newRow("single letters") << "a I x" << QStringList{};
        QTest::newRow("accents and scripts") << "café Привет" << QStringList{"café", "Привет"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void words_leaveOutDigitsAddressesAndSingleLetters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(wordsOf(text, text::SpellChecker::words(text)), words);
    }

    void checker_flagsUnknownWordsOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("flagged");
        QTest::newRow("correct") << "Our business will receive many customers." << QStringList{};
        QTest::newRow("misspelled") << "Our bussiness will recieve many custmers."
                                    << QStringList{"bussiness", "recieve", "custmers"};
        QTest::newRow("capitals") << "BUSINESS Business business" << QStringList{};
        QTest::newRow("typographic apostrophe") << "We don\u2019t sell it" << QStringList{};
        QTest::newRow("digits and addresses") << "Q3 sales at www.exampel.com and sales@exampel.com" << QStringList{};
    }

    void checker_flagsUnknownWordsOnly()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, flagged);
        text::SpellChecker checker(enUS());
        if (!checker.isValid())
            QSKIP("no en_US Hunspell dictionary: install the hunspell-en-us package");
        QCOMPARE(checker.language(), QStringLiteral("en_US"));
        QCOMPARE(wordsOf(text, checker.misspellings(text)), flagged);
        // Asked again (from the cache) the answer stays.
        QCOMPARE(wordsOf(text, checker.misspellings(text)), flagged);
    }

    void checker_suggestsAtMostFiveAndIgnoresAll()
    {
        text::SpellChecker checker(enUS());
        if (!checker.isValid())
            QSKIP("no en_US Hunspell dictionary: install the hunspell-en-us package");
        const QStringList s = checker.suggestions(QStringLiteral("recieve"));
        QVERIFY(!s.isEmpty());
        QCOMPARE(s.first(), QStringLiteral("receive"));
        QVERIFY(checker.suggestions(QStringLiteral("teh")).size() <= 5);
        QVERIFY(checker.suggestions(QStringLiteral("ab"), 2).size() <= 2);

        QVERIFY(!checker.isCorrect(QStringLiteral("Quorvane")));
        checker.ignore(QStringLiteral("Quorvane"));
        QVERIFY(checker.isCorrect(QStringLiteral("Quorvane")));
        QVERIFY(checker.misspellings(u"Quorvane helps").isEmpty());
        QVERIFY(!checker.isCorrect(QStringLiteral("Zorvane")));
    }

    // ---------------------------------------------------------------------------- search

    void find_optionsAndDirection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<bool>("backward");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found"); // -1: none
        QTest::newRow("any case") << "Plan plan" << "plan" << false << false << false << 0 << 0;
        QTest::newRow("match case") << "Plan plan" << "plan" << true << false << false << 0 << 5;
        QTest::newRow("from the middle") << "plan plan" << "plan" << false << false << false << 1 << 5;
        QTest::newRow("inside a word") << "planet plan" << "plan" << false << false << false << 0 << 0;
        QTest::newRow("whole words") << "planet plan" << "plan" << false << true << false << 0 << 7;
        QTest::newRow("whole words, none") << "planet explanation" << "plan" << false << true << false << 0 << -1;
        QTest::newRow("next paragraph") << "one\ntwo plan" << "plan" << false << false << false << 2 << 8;
        QTest::newRow("backward") << "plan plan plan" << "plan" << false << false << true << 14 << 10;
        QTest::newRow("backward, ends before") << "plan plan plan" << "plan" << false << false << true << 13 << 5;
        QTest::newRow("backward, earlier paragraph") << "plan\nx y" << "plan" << false << false << true << 8 << 0;
        QTest::newRow("backward, whole words") << "plan planet" << "plan" << false << true << true << 11 << 0;
        QTest::newRow("backward, none") << "abc" << "plan" << false << false << true << 3 << -1;
        QTest::newRow("not across paragraphs") << "pl\nan" << "plan" << false << false << false << 0 << -1;
        QTest::newRow("empty text to find") << "plan" << "" << false << false << false << 0 << -1;
    }

    void find_optionsAndDirection()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(bool, backward);
        QFETCH(int, from);
        QFETCH(int, found);
        QTextDocument doc;
        doc.setPlainText(text);
        const text::TextMatch m = text::findInDocument(doc, what, from, {matchCase, wholeWords}, backward);
        QCOMPARE(m.start, found);
        if (m.found())
            QCOMPARE(m.length, int(what.size()));
    }

    void isMatch_checksTheSelectionExactly()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("Plan planet"));
        QVERIFY(text::isMatch(doc, 0, 4, QStringLiteral("plan"), {}));
        QVERIFY(!text::isMatch(doc, 0, 4, QStringLiteral("plan"), {true, false}));
        QVERIFY(text::isMatch(doc, 5, 9, QStringLiteral("plan"), {}));
        QVERIFY(!text::isMatch(doc, 5, 9, QStringLiteral("plan"), {false, true}));
        QVERIFY(!text::isMatch(doc, 0, 5, QStringLiteral("plan"), {}));
    }

    void replaceAll_countsKeepsFormatsAndIsOneUndoStep()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("the cat and the dog\nthe end"));
        QTextCursor c(&doc);
        c.setPosition(12);
        c.setPosition(15, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
        doc.clearUndoRedoStacks();

        QCOMPARE(text::replaceAll(doc, QStringLiteral("the"), QStringLiteral("a"), {}), 3);
        QCOMPARE(doc.toPlainText(), QStringLiteral("a cat and a dog\na end"));
        // The replacement takes the format of the text it replaced.
        QTextCursor at(&doc);
        at.setPosition(11);
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
        at.setPosition(1);
        QVERIFY(at.charFormat().fontWeight() != QFont::Bold);

        doc.undo();
        QCOMPARE(doc.toPlainText(), QStringLiteral("the cat and the dog\nthe end"));
        QVERIFY(!doc.isUndoAvailable());
        QCOMPARE(text::replaceAll(doc, QStringLiteral("zebra"), QStringLiteral("x"), {}), 0);
        QCOMPARE(text::replaceAll(doc, QString(), QStringLiteral("x"), {}), 0);
    }

    void replaceAll_wholeWordsAndCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("count");
        QTest::newRow("any case") << "Art art ART" << "art" << "x" << false << false << "x x x" << 3;
        QTest::newRow("match case") << "Art art ART" << "art" << "x" << true << false << "Art x ART" << 1;
        QTest::newRow("whole words") << "art party art_deco art." << "art" << "x" << false << true
                                      << "x party art_deco x." << 2;
        QTest::newRow("longer replacement") << "aa aa" << "aa" << "aaaa" << false << false << "aaaa aaaa" << 2;
        QTest::newRow("no overlaps") << "aaaa" << "aa" << "b" << false << false << "bb" << 2;
        QTest::newRow("replace with nothing") << "a-b-c" << "-" << "" << false << false << "abc" << 2;
    }

    void replaceAll_wholeWordsAndCase()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(QString, result);
        QFETCH(int, count);
        QTextDocument doc;
        doc.setPlainText(text);
        QCOMPARE(text::replaceAll(doc, what, with, {matchCase, wholeWords}), count);
        QCOMPARE(doc.toPlainText(), result);
    }

    void findTextBackward_mirrorsFindNext_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("found");
        QTest::newRow("last before") << "aXa aXa" << "axa" << 4 << 1;
        QTest::newRow("starts just before") << "aaaa" << "aa" << 3 << 3;
        QTest::newRow("not at the selection itself") << "aa" << "aa" << 0 << 0;
        QTest::newRow("from the end") << "plan plan" << "PLAN" << 9 << 6;
        QTest::newRow("none") << "abc" << "x" << 3 << 0;
        QTest::newRow("empty text") << "" << "a" << 0 << 0;
        QTest::newRow("empty search") << "abc" << "" << 2 << 2;
        QTest::newRow("past the end") << "abc" << "c" << 10 << 3;
    }

    void findTextBackward_mirrorsFindNext()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(int, before);
        QFETCH(int, found);
        QCOMPARE(text::findTextBackward(text, what, before), qsizetype(found));
    }

    // ---------------------------------------------------------------------------- count

    void count_wordsAndCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("characters");
        QTest::newRow("empty") << "" << 0 << 0;
        QTest::newRow("one") << "plan" << 1 << 4;
        QTest::newRow("spaces") << "  two   words " << 2 << 14;
        QTest::newRow("paragraphs") << "one\ntwo\n\nthree" << 3 << 11;
        QTest::newRow("punctuation stays with its word") << "Hello, world! - ok" << 4 << 18;
        QTest::newRow("tab and no-break space") << "a\tb\u00a0c" << 3 << 5;
    }

    void count_wordsAndCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QFETCH(int, characters);
        QTextDocument doc;
        doc.setPlainText(text);
        const TextCounts c = countDocument(doc);
        QCOMPARE(c.words, qsizetype(words));
        QCOMPARE(c.characters, qsizetype(characters));
    }

    void count_caption_data()
    {
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("selected"); // -1: no selection
        QTest::addColumn<QString>("caption");
        QTest::newRow("document") << 1234 << 7890 << -1 << "1,234 words, 7,890 characters";
        QTest::newRow("singular") << 1 << 1 << -1 << "1 word, 1 character";
        QTest::newRow("empty") << 0 << 0 << -1 << "0 words, 0 characters";
        QTest::newRow("selection") << 1234 << 7890 << 12 << "12 of 1,234 words";
        QTest::newRow("millions") << 1234567 << 7654321 << 0 << "0 of 1,234,567 words";
    }

    void count_caption()
    {
        QFETCH(int, words);
        QFETCH(int, characters);
        QFETCH(int, selected);
        QFETCH(QString, caption);
        const std::optional<qsizetype> sel = selected < 0 ? std::nullopt : std::optional<qsizetype>(selected);
        QCOMPARE(countCaption({words, characters}, sel), caption);
    }
};

QTEST_MAIN(WritingToolsTest)
#include "test_writing_tools.moc"
