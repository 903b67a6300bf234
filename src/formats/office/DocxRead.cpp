// The Word reader: word/styles.xml for what the paragraph styles mean, then
// word/document.xml walked once, and what it holds built once the walk is through.

#include "formats/DocumentStructure.h"
#include "formats/office/DocxNumbering.h"
#include "formats/office/OfficeBuild.h"
#include "formats/office/OfficePictures.h"
#include "formats/office/PartWalk.h"
#include "formats/office/OfficeRead.h"
#include "formats/office/Zip.h"

#include <QHash>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace formats::office {

namespace {

bool isWord(QStringView ns)
{
    return ns == u"http://schemas.openxmlformats.org/wordprocessingml/2006/main" ||
           ns == u"http://purl.oclc.org/ooxml/wordprocessingml/main";
}

struct Style {
    QTextCharFormat chars;
    int heading = 0;
    bool title = false;
    QString basedOn;
};

QString wval(const QXmlStreamReader &r)
{
    for (const QXmlStreamAttribute &a : r.attributes())
        if (a.name() == u"val")
            return a.value().toString();
    return {};
}

// On/off properties: present means on, unless w:val says otherwise.
bool on(const QXmlStreamReader &r)
{
    const QString v = wval(r);
    return v.isEmpty() || !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

class Reader : public PartWalk {
public:
    Reader(QByteArray xml, Builder &b) : PartWalk(xml, b) {}

    QHash<QString, Style> styles;
    QTextCharFormat defaults;
    // numId and level -> the list's style, from word/numbering.xml.
    QHash<QString, QTextListFormat::Style> numbering;
    // The picture entries the document's relationships name.
    QHash<QString, QString> relationships;
    PictureEntries *pictures = nullptr;

    // Walks the whole part; the caller picks what the root holds.
    void document()
    {
        while (next()) {
            if (m_r.isStartElement() && m_r.name() == u"body")
                blocks();
        }
    }

    void stylesPart()
    {
        while (next()) {
            if (!m_r.isStartElement())
                continue;
            if (m_r.name() == u"rPrDefault") {
                runProperties(defaults);
            } else if (m_r.name() == u"style" && styles.size() < MaxStyles) {
                const QString id = attr("w:styleId");
                Style s;
                children([&](QStringView n) {
                    if (n == u"name") {
                        const QString name = wval(m_r).toLower();
                        if (name.startsWith(QLatin1String("heading ")))
                            s.heading = std::clamp(name.mid(8).toInt(), 0, 6);
                        s.title = name == QLatin1String("title");
                    } else if (n == u"basedOn") {
                        s.basedOn = wval(m_r);
                    } else if (n == u"outlineLvl" && s.heading == 0) {
                        const int v = wval(m_r).toInt() + 1;
                        s.heading = v <= 6 ? v : 0;
                    } else if (n == u"rPr") {
                        runProperties(s.chars);
                    }
                });
                styles.insert(id, s);
            }
        }
    }

private:
    // Until the end of the element just started: paragraphs and tables, and whatever
    // wraps them.
    void blocks()
    {
        children([&](QStringView n) {
            if (!isWord(m_r.namespaceUri())) {
                skip();
            } else if (n == u"p") {
                paragraph();
            } else if (n == u"tbl") {
                table();
            } else if (n == u"sectPr" || n == u"tblPr" || n == u"tblGrid" || n == u"trPr" || n == u"tcPr") {
                skip();
            } else if (n == u"del") {
                m_b.leftOut(QStringLiteral("tracked changes"));
                skip();
            } // anything else (sdt, customXml, ins...) is entered: its paragraphs count
        });
    }

    void table()
    {
        m_b.startTable();
        children([&](QStringView n) {
            if (n == u"tr") {
                m_b.startRow();
            } else if (n == u"tc") {
                int span = 1;
                bool started = false;
                children([&](QStringView c) {
                    if (c == u"tcPr") {
                        children([&](QStringView p) {
                            if (p == u"gridSpan")
                                span = std::max(wval(m_r).toInt(), 1);
                        });
                        return;
                    }
                    if (!started)
                        m_b.cell(span);
                    started = true;
                    if (c == u"p")
                        paragraph();
                    else if (c == u"tbl")
                        table();
                    else
                        blocks();
                });
                if (!started)
                    m_b.cell(span);
            } else if (n == u"tblPr" || n == u"tblGrid" || n == u"trPr") {
                skip();
            }
        });
        m_b.endTable();
    }

    void paragraph()
    {
        QTextBlockFormat bf;
        QTextCharFormat base = defaults;
        m_numId.clear();
        m_numLevel = 0;
        bool started = false;
        const auto start = [&] {
            m_b.paragraph(bf);
            if (!m_numId.isEmpty() && m_numId != QLatin1String("0")) {
                const QString key = m_numId + QLatin1Char('/') + QString::number(m_numLevel);
                m_b.listItem(key, numbering.value(key, QTextListFormat::ListDecimal), m_numLevel);
            }
            started = true;
        };
        children([&](QStringView n) {
            if (n == u"pPr") {
                paragraphProperties(bf, base);
                return;
            }
            if (!started)
                start();
            inline_(n, base);
        });
        if (!started)
            start();
    }

    // One element inside a paragraph.
    void inline_(QStringView n, const QTextCharFormat &base)
    {
        if (!isWord(m_r.namespaceUri())) {
            if (n == u"AlternateContent")
                drawing();
            else
                skip();
        } else if (n == u"r") {
            run(base);
        } else if (n == u"del" || n == u"moveFrom") {
            m_b.leftOut(QStringLiteral("tracked changes"));
            skip();
        } else if (n == u"commentRangeStart") {
            m_b.leftOut(QStringLiteral("comments"));
            skip();
        } else if (n == u"hyperlink" || n == u"smartTag" || n == u"sdt" || n == u"sdtContent" || n == u"fldSimple" ||
                   n == u"ins" || n == u"moveTo" || n == u"customXml" || n == u"dir" || n == u"bdo") {
            if (n == u"ins" || n == u"moveTo")
                m_b.leftOut(QStringLiteral("tracked changes"));
            children([&](QStringView inner) { inline_(inner, base); });
        } else {
            skip(); // bookmarks, proofing marks, equations...
        }
    }

    void run(const QTextCharFormat &base)
    {
        QTextCharFormat cf = base;
        // The name is a view into the reader's buffer: looked at before reading on.
        children([&](QStringView n) {
            if (n == u"rPr") {
                runProperties(cf);
                return;
            }
            if (n == u"t") {
                QString text;
                const int textLevel = m_depth;
                while (m_error.isEmpty() && nextElement(m_r, m_depth, m_error, &text) && m_depth >= textLevel) {
                }
                m_b.text(text, cf);
                return;
            }
            if (n == u"tab") {
                m_b.text(QStringLiteral("\t"), cf);
            } else if (n == u"br" || n == u"cr") {
                if (attr("w:type") == u"page") {
                    m_b.pageBreak();
                } else {
                    m_b.text(QString(QChar::LineSeparator), cf);
                }
            } else if (n == u"noBreakHyphen") {
                m_b.text(QStringLiteral("\u2011"), cf);
            } else if (n == u"drawing" || n == u"pict" || n == u"object" || n == u"AlternateContent") {
                drawing();
                return;
            } else if (n == u"commentReference") {
                m_b.leftOut(QStringLiteral("comments"));
            } else if (n == u"delText") {
                m_b.leftOut(QStringLiteral("tracked changes"));
            }
            skip();
        });
    }

    // A drawing, a VML picture, an object or Word's choice among them (OfficePictures.h).
    void drawing()
    {
        const docx::Drawing d = docx::readDrawing(m_r, m_depth, m_error);
        if (pictures && m_error.isEmpty())
            pictures->place(m_b, relationships.value(d.id), d.size);
    }

    void paragraphProperties(QTextBlockFormat &bf, QTextCharFormat &base)
    {
        children([&](QStringView n) {
            if (n == u"pStyle") {
                const Style s = resolved(wval(m_r));
                base.merge(s.chars);
                if (s.heading > 0)
                    bf.setHeadingLevel(s.heading);
                if (s.title)
                    bf.setProperty(formats::TitleProperty, true);
            } else if (n == u"outlineLvl") {
                if (const int v = wval(m_r).toInt() + 1; v <= 6)
                    bf.setHeadingLevel(v);
            } else if (n == u"jc") {
                const QString v = wval(m_r);
                if (v == QLatin1String("center"))
                    bf.setAlignment(Qt::AlignHCenter);
                else if (v == QLatin1String("right") || v == QLatin1String("end"))
                    bf.setAlignment(Qt::AlignRight);
                else if (v == QLatin1String("both") || v == QLatin1String("distribute"))
                    bf.setAlignment(Qt::AlignJustify);
            } else if (n == u"numId") {
                m_numId = wval(m_r);
            } else if (n == u"ilvl") {
                m_numLevel = std::clamp(wval(m_r).toInt(), 0, 8);
            } else if (n == u"pageBreakBefore" && on(m_r)) {
                bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            } else if (n == u"rPr" || n == u"sectPr" || n == u"pPrChange") {
                skip(); // the paragraph mark's format, a section's page, a change's old format
            }
        });
    }

    void runProperties(QTextCharFormat &cf)
    {
        children([&](QStringView n) {
            if (n == u"rStyle") {
                cf.merge(resolved(wval(m_r)).chars);
            } else if (n == u"b") {
                cf.setFontWeight(on(m_r) ? QFont::Bold : QFont::Normal);
            } else if (n == u"i") {
                cf.setFontItalic(on(m_r));
            } else if (n == u"u") {
                cf.setFontUnderline(on(m_r));
            } else if (n == u"strike" || n == u"dstrike") {
                cf.setFontStrikeOut(on(m_r));
            } else if (n == u"color") {
                const QColor c(QLatin1Char('#') + wval(m_r));
                if (c.isValid())
                    cf.setForeground(c);
            } else if (n == u"sz") {
                if (const int half = wval(m_r).toInt(); half >= 2 && half <= 3276)
                    cf.setFontPointSize(half / 2.0);
            } else if (n == u"rFonts") {
                const QString ascii = attr("w:ascii");
                const QString family = ascii.isEmpty() ? attr("w:hAnsi") : ascii;
                if (!family.isEmpty())
                    setFamily(cf, family);
            } else if (n == u"vertAlign") {
                const QString v = wval(m_r);
                cf.setVerticalAlignment(v == QLatin1String("superscript") ? QTextCharFormat::AlignSuperScript
                                        : v == QLatin1String("subscript") ? QTextCharFormat::AlignSubScript
                                                                          : QTextCharFormat::AlignNormal);
            } else if (n == u"rPrChange") {
                skip();
            }
        });
    }

    Style resolved(const QString &id) const
    {
        Style out;
        std::vector<const Style *> chain;
        QString at = id;
        for (int i = 0; i < 16; ++i) { // based-on chains are short; a loop is cut
            const auto it = styles.constFind(at);
            if (it == styles.cend())
                break;
            chain.push_back(&*it);
            at = it->basedOn;
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            out.chars.merge((*it)->chars);
            if ((*it)->heading > 0)
                out.heading = (*it)->heading;
        }
        if (!chain.empty())
            out.title = chain.front()->title;
        return out;
    }

    QString m_numId; // the paragraph's list, if any
    int m_numLevel = 0;
};

} // namespace

// Every part is read and checked before any is walked, so a file is refused for its size
// before it costs a walk; each part's bytes go once it is walked.
Result readDocx(const formats::office::zip::Archive &zip, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut)
{
    XmlBudget budget;
    QByteArray stylesXml, numberingXml, relsXml, xml;
    for (const auto &[name, part] : {std::pair{QStringLiteral("word/styles.xml"), &stylesXml},
                                     {QStringLiteral("word/numbering.xml"), &numberingXml},
                                     {QStringLiteral("word/_rels/document.xml.rels"), &relsXml}})
        if (zip.contains(name))
            if (const Result r = readXmlPart(zip, name, *part, budget); !r.ok)
                return r;
    if (const Result r = readXmlPart(zip, QStringLiteral("word/document.xml"), xml, budget); !r.ok)
        return r;

    QHash<QString, Style> styles;
    QTextCharFormat defaults = base;
    if (!stylesXml.isEmpty()) {
        Builder unused;
        Reader reader(std::exchange(stylesXml, {}), unused);
        reader.stylesPart();
        if (!reader.error().isEmpty())
            return Result::failed(reader.error());
        styles = std::move(reader.styles);
        defaults.merge(reader.defaults);
    }
    QString numberingError;
    const QHash<QString, QTextListFormat::Style> numbering = docxNumbering(std::exchange(numberingXml, {}), numberingError);
    if (!numberingError.isEmpty())
        return Result::failed(numberingError);

    const QHash<QString, QString> relationships = docx::relationships(std::exchange(relsXml, {}));
    PictureEntries pictures(zip);
    return readThenBuild(doc, [&](Builder &b) {
        Reader reader(std::move(xml), b); // its bytes go with it, before the document is built
        reader.relationships = relationships;
        reader.pictures = &pictures;
        reader.styles = std::move(styles);
        reader.numbering = numbering;
        reader.defaults = defaults;
        reader.document();
        return reader.error();
    }, leftOut);
}

} // namespace formats::office
