#include "text/WholeText.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

void setDocumentText(QTextDocument &doc, const QString &text)
{
    doc.clear();
    QTextCursor(&doc).insertText(text);
}

} // namespace

class WholeTextTest : public QObject {
    Q_OBJECT
private slots:
    void findText_followsTheSearchRule_data();
    void findText_followsTheSearchRule();
    void wholeText_countsBreaksAsCrLf();
    void wholeText_mapsPositionsBothWays();
    void wholeText_worksBeyond16BitPositions();
};

void WholeTextTest::findText_followsTheSearchRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("found");
    QTest::newRow("aaaa from 1") << "aaaa" << "aa" << 1 << 1;
    QTest::newRow("aaaa from 2") << "aaaa" << "aa" << 2 << 2;
    QTest::newRow("aaaa from 3") << "aaaa" << "aa" << 3 << 3;
    QTest::newRow("aaaa from 4") << "aaaa" << "aa" << 4 << 0;
    QTest::newRow("case ignored") << "Our Plan" << "plan" << 1 << 5;
    QTest::newRow("upper query") << "our plan" << "PLAN" << 1 << 5;
    QTest::newRow("not found") << "Our Plan" << "xyz" << 1 << 0;
    QTest::newRow("past the end") << "abc" << "c" << 4 << 0;
    QTest::newRow("empty query at start") << "abc" << "" << 1 << 1;
    QTest::newRow("empty query inside") << "abc" << "" << 3 << 3;
    QTest::newRow("empty query past end") << "abc" << "" << 4 << 0;
    QTest::newRow("empty text") << "" << "" << 1 << 0;
    QTest::newRow("empty text, query") << "" << "a" << 1 << 0;
    QTest::newRow("across CR LF") << "ab\r\ncd" << "cd" << 1 << 5;
}

void WholeTextTest::findText_followsTheSearchRule()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(int, start);
    QFETCH(int, found);
    QCOMPARE(text::findText(text, what, start), qsizetype(found));
}

void WholeTextTest::wholeText_countsBreaksAsCrLf()
{
    QTextDocument doc;
    setDocumentText(doc, QStringLiteral("one\ntwo\n\nthree"));
    QCOMPARE(text::WholeText(doc).text(), QStringLiteral("one\r\ntwo\r\n\r\nthree"));

    // A manual line break inside a paragraph is a line end too.
    QTextCursor(&doc).insertText(QStringLiteral("x") + QChar(QChar::LineSeparator) + QStringLiteral("y "));
    QCOMPARE(text::WholeText(doc).text(), QStringLiteral("x\r\ny one\r\ntwo\r\n\r\nthree"));

    QTextDocument empty;
    QCOMPARE(text::WholeText(empty).text(), QString());
    QCOMPARE(text::WholeText(empty).toDocument(0), 0);
    QCOMPARE(text::WholeText(empty).fromDocument(0), qsizetype(0));
}

void WholeTextTest::wholeText_mapsPositionsBothWays()
{
    QTextDocument doc;
    setDocumentText(doc, QStringLiteral("ab\n\ncd"));
    const text::WholeText whole(doc);
    QCOMPARE(whole.text(), QStringLiteral("ab\r\n\r\ncd"));
    // document positions: a0 b1 |2 |3 c4 d5 end6; text: a0 b1 CR2 LF3 CR4 LF5 c6 d7 end8
    const int docPos[] = {0, 1, 2, 3, 4, 5, 6};
    const qsizetype textPos[] = {0, 1, 2, 4, 6, 7, 8};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(whole.fromDocument(docPos[i]), textPos[i]);
        QCOMPARE(whole.toDocument(textPos[i]), docPos[i]);
    }
    // Between CR and LF: on the break.
    QCOMPARE(whole.toDocument(3), 2);
    QCOMPARE(whole.toDocument(5), 3);
    QCOMPARE(whole.toDocument(100), 6);
}

void WholeTextTest::wholeText_worksBeyond16BitPositions()
{
    QTextDocument doc;
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("line %1 of the plan\n").arg(i);
    text += QStringLiteral("The End");
    setDocumentText(doc, text);
    const text::WholeText whole(doc);
    QVERIFY(whole.text().size() > 65536);
    const qsizetype p = text::findText(whole.text(), QStringLiteral("the end"), 1);
    QVERIFY(p > 65536);
    QTextCursor c(&doc);
    c.setPosition(whole.toDocument(p - 1));
    c.setPosition(whole.toDocument(p - 1 + 7), QTextCursor::KeepAnchor);
    QCOMPARE(c.selectedText(), QStringLiteral("The End"));
    QCOMPARE(whole.fromDocument(c.selectionStart()), p - 1);
}

QTEST_MAIN(WholeTextTest)
#include "test_whole_text.moc"
