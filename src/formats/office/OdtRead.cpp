// The OpenDocument reader: the styles of styles.xml and of content.xml for what the
// paragraphs and spans look like, then the body walked once, and what it holds built once
// the walk is through.

#include "formats/DocumentStructure.h"
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

struct Style {
    QString parent;
    QTextCharFormat chars;
    Qt::Alignment align;
    bool pageBreak = false;
    int outline = 0;
    bool title = false;
};

struct Styles {
    QHash<QString, QString> fonts; // face name -> family
    QHash<QString, Style> byName;
    QHash<QString, QTextListFormat::Style> lists; // list style -> how its first level counts
};

QTextListFormat::Style numberStyle(QStringView format)
{
    if (format == u"a")
        return QTextListFormat::ListLowerAlpha;
    if (format == u"A")
        return QTextListFormat::ListUpperAlpha;
    if (format == u"i")
        return QTextListFormat::ListLowerRoman;
    if (format == u"I")
        return QTextListFormat::ListUpperRoman;
    return QTextListFormat::ListDecimal;
}

double points(QStringView v)
{
    static const struct {
        const char16_t *unit;
        double factor;
    } units[] = {{u"pt", 1.0}, {u"mm", 72 / 25.4}, {u"cm", 72 / 2.54}, {u"in", 72.0}, {u"pc", 12.0}};
    for (const auto &u : units)
        if (v.endsWith(QStringView(u.unit)))
            return v.chopped(2).toDouble() * u.factor;
    return -1;
}

class Reader : public PartWalk {
public:
    Reader(QByteArray xml, Builder &b, Styles &styles, const QTextCharFormat &base = {},
           PictureEntries *pictures = nullptr)
        : PartWalk(xml, b), m_styles(styles), m_base(base), m_pictures(pictures)
    {
    }

    // Reads the styles the part declares, and its body when build is set.
    void part(bool body)
    {
        while (next()) {
            if (!m_r.isStartElement())
                continue;
            const QStringView n = m_r.name();
            if (n == u"font-face") {
                QString family = attr("svg:font-family");
                family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
                m_styles.fonts.insert(attr("style:name"), family.isEmpty() ? attr("style:name") : family);
            } else if ((n == u"style" || n == u"default-style") && m_styles.byName.size() < MaxStyles) {
                style(n == u"default-style");
            } else if (n == u"list-style" && m_styles.lists.size() < MaxStyles) {
                const QString name = attr("style:name");
                children([&](QStringView level) {
                    if (m_styles.lists.contains(name))
                        return;
                    if (level == u"list-level-style-bullet")
                        m_styles.lists.insert(name, QTextListFormat::ListDisc);
                    else if (level == u"list-level-style-number")
                        m_styles.lists.insert(name, numberStyle(m_r.attributes().value(QLatin1String("style:num-format"))));
                });
            } else if (n == u"master-styles" || n == u"page-layout") {
                skip();
            } else if (n == u"text" && body) {
                blocks();
            } else if (n == u"body" && !body) {
                skip();
            }
        }
    }

private:

    void style(bool isDefault)
    {
        Style s;
        const QString name = isDefault ? QStringLiteral("\x01" "default") : attr("style:name");
        s.parent = attr("style:parent-style-name");
        if (s.parent.isEmpty() && !isDefault && attr("style:family") == QLatin1String("paragraph"))
            s.parent = QStringLiteral("\x01" "default");
        s.outline = std::clamp(attr("style:default-outline-level").toInt(), 0, 6);
        s.title = name == QLatin1String("Title") || attr("style:display-name") == QLatin1String("Title");
        children([&](QStringView n) {
            if (n == u"paragraph-properties") {
                const QString align = attr("fo:text-align");
                if (align == QLatin1String("center"))
                    s.align = Qt::AlignHCenter;
                else if (align == QLatin1String("end") || align == QLatin1String("right"))
                    s.align = Qt::AlignRight;
                else if (align == QLatin1String("justify"))
                    s.align = Qt::AlignJustify;
                else if (align == QLatin1String("start") || align == QLatin1String("left"))
                    s.align = Qt::AlignLeft;
                s.pageBreak = attr("fo:break-before") == QLatin1String("page");
            } else if (n == u"text-properties") {
                textProperties(s.chars);
            }
        });
        m_styles.byName.insert(name, s);
    }

    void textProperties(QTextCharFormat &cf) const
    {
        const QXmlStreamAttributes a = m_r.attributes();
        if (a.hasAttribute(QLatin1String("fo:font-weight")))
            cf.setFontWeight(a.value(QLatin1String("fo:font-weight")) == u"normal" ? QFont::Normal : QFont::Bold);
        if (a.hasAttribute(QLatin1String("fo:font-style")))
            cf.setFontItalic(a.value(QLatin1String("fo:font-style")) != u"normal");
        if (a.hasAttribute(QLatin1String("style:text-underline-style")))
            cf.setFontUnderline(a.value(QLatin1String("style:text-underline-style")) != u"none");
        if (a.hasAttribute(QLatin1String("style:text-line-through-style")))
            cf.setFontStrikeOut(a.value(QLatin1String("style:text-line-through-style")) != u"none");
        if (const QColor c(a.value(QLatin1String("fo:color")).toString()); c.isValid())
            cf.setForeground(c);
        if (const double p = points(a.value(QLatin1String("fo:font-size"))); p >= 1 && p <= 1638)
            cf.setFontPointSize(p);
        const QString face = a.value(QLatin1String("style:font-name")).toString();
        QString family = m_styles.fonts.value(face, face);
        if (family.isEmpty())
            family = a.value(QLatin1String("fo:font-family")).toString().remove(QLatin1Char('\''));
        if (!family.isEmpty())
            setFamily(cf, family);
        const QStringView position = a.value(QLatin1String("style:text-position"));
        if (position.startsWith(u"super"))
            cf.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (position.startsWith(u"sub"))
            cf.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }

    // The style with its parents' properties beneath its own.
    Style resolved(const QString &name) const
    {
        std::vector<const Style *> chain;
        QString at = name;
        for (int i = 0; i < 16 && !at.isEmpty(); ++i) { // chains are short; a loop is cut
            const auto it = m_styles.byName.constFind(at);
            if (it == m_styles.byName.cend())
                break;
            chain.push_back(&*it);
            at = it->parent;
        }
        Style out;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            out.chars.merge((*it)->chars);
            if ((*it)->align)
                out.align = (*it)->align;
            if ((*it)->outline > 0)
                out.outline = (*it)->outline;
            out.title = out.title || (*it)->title;
        }
        out.pageBreak = !chain.empty() && chain.front()->pageBreak;
        return out;
    }

    void blocks()
    {
        children([&](QStringView n) {
            if (n == u"p" || n == u"h") {
                paragraph(n == u"h");
            } else if (n == u"list") {
                // A nested list counts in its outer list's style unless it names its own.
                const QString style = attr("text:style-name");
                m_lists.push_back({QString::number(++m_listCount),
                                   style.isEmpty() && !m_lists.empty() ? m_lists.back().style : style});
                blocks();
                m_lists.pop_back();
            } else if (n == u"table") {
                table();
            } else if (n == u"tracked-changes") {
                m_b.leftOut(QStringLiteral("tracked changes"));
                skip();
            } else if (n == u"frame" || n == u"image" || n == u"custom-shape") {
                frame();
            } else if (n == u"annotation") {
                m_b.leftOut(QStringLiteral("comments"));
                skip();
            } else if (n == u"table-of-content-source" || n == u"sequence-decls" || n == u"forms" ||
                       n == u"variable-decls" || n == u"user-field-decls" || n == u"table-columns" ||
                       n == u"table-column" || n == u"soft-page-break") {
                skip();
            } // lists, sections, the contents' body are entered: their paragraphs count
        });
    }

    void paragraph(bool heading)
    {
        const Style s = resolved(attr("text:style-name"));
        QTextBlockFormat bf;
        if (s.align)
            bf.setAlignment(s.align);
        if (s.pageBreak)
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (s.title)
            bf.setProperty(formats::TitleProperty, true);
        const int outline = heading ? std::clamp(attr("text:outline-level").toInt(), 0, 6) : 0;
        if (heading)
            bf.setHeadingLevel(outline > 0 ? outline : std::max(s.outline, 1));
        m_b.paragraph(bf);
        if (!m_lists.empty())
            m_b.listItem(m_lists.back().key, m_styles.lists.value(m_lists.back().style, QTextListFormat::ListDisc),
                         int(m_lists.size()) - 1);
        m_lastWasSpace = true;
        QTextCharFormat cf = m_base;
        cf.merge(s.chars);
        inlines(cf);
    }

    // White space in a paragraph's text collapses to one space, none at its start.
    void text(const QString &raw, const QTextCharFormat &cf)
    {
        QString out(raw.size(), Qt::Uninitialized);
        QChar *to = out.data();
        for (const QChar c : raw) {
            const bool space = c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
            if (space && m_lastWasSpace)
                continue;
            *to++ = space ? QChar(QLatin1Char(' ')) : c;
            m_lastWasSpace = space;
        }
        out.truncate(to - out.constData());
        m_b.text(out, cf);
    }

    void literal(const QString &s, const QTextCharFormat &cf)
    {
        m_b.text(s, cf);
        m_lastWasSpace = true;
    }

    void inlines(const QTextCharFormat &cf)
    {
        const int level = m_depth;
        QString pending;
        while (next(&pending)) {
            text(pending, cf);
            pending.clear();
            if (m_depth < level)
                break; // the paragraph or span ended
            if (!m_r.isStartElement())
                continue;
            const QStringView n = m_r.name();
            if (n == u"span") {
                QTextCharFormat inner = cf;
                inner.merge(resolved(attr("text:style-name")).chars);
                inlines(inner);
            } else if (n == u"s") {
                literal(QString(std::clamp(attr("text:c").toInt(), 1, 1000), QLatin1Char(' ')), cf);
                skip();
            } else if (n == u"tab") {
                literal(QStringLiteral("\t"), cf);
                skip();
            } else if (n == u"line-break") {
                literal(QString(QChar::LineSeparator), cf);
                skip();
            } else if (n == u"frame" || n == u"image" || n == u"custom-shape") {
                frame();
                m_lastWasSpace = false;
            } else if (n == u"annotation") {
                m_b.leftOut(QStringLiteral("comments"));
                skip();
            } else if (n == u"change" || n == u"change-start") {
                m_b.leftOut(QStringLiteral("tracked changes"));
                skip();
            } else if (n == u"note" || n == u"bookmark" || n == u"bookmark-start" || n == u"bookmark-end" ||
                       n == u"soft-page-break" || n == u"annotation-end" || n == u"change-end" || n == u"reference-mark") {
                skip();
            } else {
                inlines(cf); // links, fields, ruby: their text shows
            }
        }
    }

    // A frame's picture at the frame's size; a shape or text box without one is a placeholder.
    void frame()
    {
        const auto px = [&](const char *name) {
            return std::clamp(points(m_r.attributes().value(QLatin1String(name))) * 96 / 72, 0.0, 20000.0);
        };
        const QSizeF size(px("svg:width"), px("svg:height"));
        const odt::Frame f = odt::readFrame(m_r, m_depth, m_error);
        if (m_pictures && m_error.isEmpty())
            m_pictures->place(m_b, f.bytes.isEmpty() ? f.entry : QString(), size, f.bytes);
    }

    void table()
    {
        m_b.startTable();
        int covered = 0; // cells a span to the left already holds
        children([&](QStringView n) {
            if (n == u"table-row") {
                m_b.startRow();
                covered = 0;
            } else if (n == u"table-cell" || n == u"covered-table-cell") {
                const bool isCovered = n == u"covered-table-cell";
                const int repeat = std::clamp(attr("table:number-columns-repeated").toInt(), 1, MaxTableColumns);
                const int span = std::clamp(attr("table:number-columns-spanned").toInt(), 1, MaxTableColumns);
                for (int i = 0; i < repeat; ++i) {
                    if (isCovered && covered > 0) {
                        --covered;
                        continue;
                    }
                    m_b.cell(isCovered ? 1 : span);
                    if (!isCovered)
                        covered = span - 1;
                    if (i == 0 && !isCovered)
                        blocks();
                }
                if (isCovered)
                    skip();
            } else if (n == u"table-column" || n == u"table-columns" || n == u"table-header-columns") {
                skip();
            }
        });
        m_b.endTable();
    }

    Styles &m_styles;
    QTextCharFormat m_base;
    PictureEntries *m_pictures;
    bool m_lastWasSpace = true;
    struct List {
        QString key, style;
    };
    std::vector<List> m_lists; // the lists the walk is in, innermost last
    int m_listCount = 0;
};

// LibreOffice encrypts the parts themselves, not the zip entries: only the manifest
// tells.
bool encrypted(const formats::office::zip::Archive &zip)
{
    const QString name = QStringLiteral("META-INF/manifest.xml");
    QByteArray manifest;
    return zip.contains(name) && zip.read(name, 1024 * 1024, manifest).ok && manifest.contains("encryption-data");
}

} // namespace

QString holdsNoText()
{
    return QStringLiteral("The file is an OpenDocument text file that holds no document text (it has no content.xml).");
}

Result readOdt(const formats::office::zip::Archive &zip, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut)
{
    if (encrypted(zip))
        return Result::failed(zip::encryptedEntry());
    if (!zip.contains(QStringLiteral("content.xml")))
        return Result::failed(holdsNoText());
    // Both parts are read and checked before either is walked, so a file is refused for
    // its size before it costs a walk; each part's bytes go once it is walked.
    XmlBudget budget;
    QByteArray stylesXml, xml;
    if (zip.contains(QStringLiteral("styles.xml")))
        if (const Result r = readXmlPart(zip, QStringLiteral("styles.xml"), stylesXml, budget); !r.ok)
            return r;
    if (const Result r = readXmlPart(zip, QStringLiteral("content.xml"), xml, budget); !r.ok)
        return r;
    Styles styles;
    if (!stylesXml.isEmpty()) {
        Builder unused;
        Reader reader(std::exchange(stylesXml, {}), unused, styles);
        reader.part(false);
        if (!reader.error().isEmpty())
            return Result::failed(reader.error());
    }
    PictureEntries pictures(zip);
    return readThenBuild(doc, [&](Builder &b) {
        // content.xml's automatic styles add to styles.xml's; the bytes go with the reader,
        // before the document is built.
        Reader reader(std::move(xml), b, styles, base, &pictures);
        reader.part(true);
        return reader.error();
    }, leftOut);
}

} // namespace formats::office
