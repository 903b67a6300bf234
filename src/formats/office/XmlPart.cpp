#include "formats/office/XmlPart.h"

#include "formats/Limits.h"
#include "formats/office/Zip.h"

#include <QStringConverter>

#include <array>
#include <cstring>
#include <vector>

namespace formats::office {

namespace {

QString tooManyItems()
{
    return QStringLiteral("The file holds more than %1 XML elements and attributes, more than this program reads in a "
                          "few seconds, so it cannot be read.")
        .arg(MaxXmlItems);
}

QString tooManyAttributes()
{
    return QStringLiteral("The file gives one XML element more than %1 attributes, far more than any document, so it "
                          "cannot be read.")
        .arg(MaxXmlAttributes);
}

QString tooManyNamespaces()
{
    return QStringLiteral("The file declares more than %1 XML namespaces at one place, far more than any document, so "
                          "it cannot be read.")
        .arg(MaxXmlNamespaces);
}

QString nameTooLong()
{
    return QStringLiteral("The file holds an XML name of more than %1 bytes, far more than any document, so it cannot "
                          "be read.")
        .arg(MaxXmlNameBytes);
}

QString valueTooLong()
{
    return QStringLiteral("The file holds an XML value of more than %1 KB, far more than any document, so it cannot be "
                          "read.")
        .arg(MaxXmlValueBytes / 1024);
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes that end a name in a tag: white space, '=', '/' and '>'.
constexpr auto NameEnds = [] {
    std::array<bool, 256> ends{};
    for (const char c : {' ', '\t', '\n', '\r', '=', '/', '>'})
        ends[uchar(c)] = true;
    return ends;
}();

// The XML as the reader will see it, tag by tag, without building anything. Where it is
// not well-formed the check stops: the reader fails at that place, before anything
// after it could cost.
class Scan {
public:
    Scan(const QByteArray &xml, XmlBudget &budget) : m_p(xml.constData()), m_end(m_p + xml.size()), m_budget(budget) {}

    QString run()
    {
        while (m_p < m_end) {
            const char *lt = static_cast<const char *>(std::memchr(m_p, '<', size_t(m_end - m_p)));
            if ((lt ? lt : m_end) - m_p > MaxXmlTextBytes)
                return paragraphTooLong();
            if (!lt || lt + 1 == m_end)
                return {};
            m_p = lt + 1;
            QString error;
            if (*m_p == '/')
                error = endTag();
            else if (*m_p == '?')
                error = skipPast("?>", MaxXmlValueBytes, valueTooLong());
            else if (startsWith("!--"))
                error = skipPast("-->", MaxXmlValueBytes, valueTooLong());
            else if (startsWith("![CDATA["))
                error = skipPast("]]>", MaxXmlTextBytes, paragraphTooLong());
            else if (startsWith("!DOCTYPE"))
                return declaresEntities();
            else if (*m_p == '!')
                return {};
            else
                error = startTag();
            if (!error.isEmpty() || m_stop)
                return error;
        }
        return {};
    }

private:
    bool startsWith(const char *s) const
    {
        const size_t n = std::strlen(s);
        return size_t(m_end - m_p) >= n && std::memcmp(m_p, s, n) == 0;
    }

    // Past the close of a comment, a processing instruction or a CDATA section.
    QString skipPast(const char *close, qsizetype most, const QString &tooLong)
    {
        const qsizetype at = QByteArrayView(m_p, m_end - m_p).indexOf(close);
        if (at < 0 ? m_end - m_p > most : at > most)
            return tooLong;
        if (at < 0)
            m_stop = true;
        else
            m_p += at + qsizetype(std::strlen(close));
        return {};
    }

    // A name; false when it is too long.
    bool name()
    {
        const char *start = m_p;
        while (m_p < m_end && !NameEnds[uchar(*m_p)])
            ++m_p;
        return m_p - start <= MaxXmlNameBytes;
    }

    void skipSpace()
    {
        while (m_p < m_end && isSpace(*m_p))
            ++m_p;
    }

    QString endTag()
    {
        ++m_p;
        if (!name())
            return nameTooLong();
        if (!m_scopes.empty()) {
            m_inScope -= m_scopes.back();
            m_scopes.pop_back();
        }
        return {};
    }

    QString startTag()
    {
        if (!name())
            return nameTooLong();
        if (++m_budget.items > MaxXmlItems)
            return tooManyItems();
        int attributes = 0, declarations = 0, prefixed = 0;
        for (;;) {
            skipSpace();
            if (m_p == m_end) {
                m_stop = true;
                return {};
            }
            if (*m_p == '>' || *m_p == '/')
                break;
            const char *attribute = m_p;
            if (!name())
                return nameTooLong();
            // Namespace declarations are no attributes to Qt's reader; they count in scope.
            const qsizetype length = m_p - attribute;
            if (length >= 5 && std::memcmp(attribute, "xmlns", 5) == 0 && (length == 5 || attribute[5] == ':')) {
                if (m_inScope + ++declarations > MaxXmlNamespaces)
                    return tooManyNamespaces();
            } else if (++attributes > MaxXmlAttributes) {
                return tooManyAttributes();
            } else if (std::memchr(attribute, ':', size_t(length))) {
                ++prefixed;
            }
            // Qt's reader compares each attribute with those before it, so one among many
            // costs it more than one among a few.
            m_budget.items += 1 + attributes / 16;
            if (m_budget.items > MaxXmlItems)
                return tooManyItems();
            skipSpace();
            if (m_p == m_end || *m_p != '=') {
                m_stop = true;
                return {};
            }
            ++m_p;
            skipSpace();
            if (m_p == m_end || (*m_p != '"' && *m_p != '\'')) {
                m_stop = true;
                return {};
            }
            const char quote = *m_p++;
            const char *close = static_cast<const char *>(std::memchr(m_p, quote, size_t(m_end - m_p)));
            if ((close ? close : m_end) - m_p > MaxXmlValueBytes)
                return valueTooLong();
            if (!close) {
                m_stop = true;
                return {};
            }
            m_p = close + 1;
        }
        // Qt's reader looks the element's namespace and each prefix up among all those in
        // scope, the innermost first: past the few dozen documents declare, each costs more.
        m_budget.items += qint64(std::max(0, m_inScope + declarations - 32) / 16) * (1 + prefixed);
        if (m_budget.items > MaxXmlItems)
            return tooManyItems();
        if (*m_p == '>') {
            if (int(m_scopes.size()) >= MaxXmlDepth)
                return nestedTooDeep();
            m_scopes.push_back(declarations);
            m_inScope += declarations;
        }
        return {};
    }

    const char *m_p;
    const char *m_end;
    XmlBudget &m_budget;
    bool m_stop = false;
    std::vector<int> m_scopes; // the namespaces each open element declares
    int m_inScope = 0;
};

// The encoding the XML names in its declaration, if it has one.
QByteArray declaredEncoding(const QByteArray &xml, qsizetype &declarationEnd)
{
    declarationEnd = 0;
    const qsizetype start = xml.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (xml.mid(start, 6) != "<?xml " && xml.mid(start, 6) != "<?xml\t")
        return {};
    const qsizetype end = xml.indexOf("?>", start);
    if (end < 0 || end > start + 1024)
        return {};
    declarationEnd = end + 2;
    const QByteArray declaration = xml.mid(start, end - start);
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    const qsizetype open = declaration.indexOf('=', at);
    qsizetype from = open + 1;
    while (from < declaration.size() && isSpace(declaration[from]))
        ++from;
    if (open < 0 || from >= declaration.size() || (declaration[from] != '"' && declaration[from] != '\''))
        return {};
    const qsizetype close = declaration.indexOf(declaration[from], from + 1);
    return close < 0 ? QByteArray() : declaration.mid(from + 1, close - from - 1);
}

// XML that is not in UTF-8 is converted to it, and its declaration, which names the old
// encoding, dropped: the check reads bytes as UTF-8 does, and so must the reader.
QString toUtf8(QByteArray &xml)
{
    qsizetype declarationEnd = 0;
    const QByteArray named = declaredEncoding(xml, declarationEnd);
    std::optional<QStringConverter::Encoding> detected = QStringConverter::encodingForData(xml, u'<');
    if (detected == QStringConverter::Utf8)
        return {};
    if (!detected && (named.isEmpty() || named.compare("UTF-8", Qt::CaseInsensitive) == 0 ||
                      named.compare("UTF8", Qt::CaseInsensitive) == 0))
        return {};
    QStringDecoder decoder = detected ? QStringDecoder(*detected) : QStringDecoder(named.constData());
    if (!decoder.isValid())
        return QStringLiteral("The file is damaged: its XML is in an encoding this program does not know.");
    QString text = decoder.decode(detected ? xml : xml.mid(declarationEnd));
    if (decoder.hasError())
        return QStringLiteral("The file is damaged: its XML does not match its encoding.");
    if (detected && text.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1String("?>"));
        text.remove(0, end < 0 ? 0 : end + 2);
    }
    xml = text.toUtf8();
    return {};
}

} // namespace

XmlInput::XmlInput(const QByteArray &xml)
{
    m_bytes.setData(xml);
    m_bytes.open(QIODevice::ReadOnly);
    reader.setDevice(&m_bytes);
}

QString damaged(const QXmlStreamReader &r)
{
    return QStringLiteral("The file is damaged: its XML is broken at line %1 (%2).").arg(r.lineNumber()).arg(r.errorString());
}

QString nestedTooDeep()
{
    return QStringLiteral("The file nests its content more than %1 levels deep, so it cannot be read.").arg(MaxXmlDepth);
}

QString declaresEntities()
{
    return QStringLiteral("The file is damaged: it declares XML entities, which Word and OpenDocument files never do.");
}

QString checkXml(QByteArray &xml, XmlBudget &budget)
{
    if (const QString error = toUtf8(xml); !error.isEmpty())
        return error;
    return Scan(xml, budget).run();
}

Result readXmlPart(const zip::Archive &zip, const QString &name, QByteArray &xml, XmlBudget &budget)
{
    if (const Result r = zip.read(name, MaxPartBytes, xml); !r.ok)
        return r;
    if (const QString error = checkXml(xml, budget); !error.isEmpty()) {
        xml.clear();
        return Result::failed(error);
    }
    return {};
}

bool nextElement(QXmlStreamReader &r, int &depth, QString &error, QString *text)
{
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxXmlDepth) {
                error = nestedTooDeep();
                return false;
            }
            return true;
        case QXmlStreamReader::EndElement:
            --depth;
            return true;
        case QXmlStreamReader::Characters:
            if (text) {
                // Texts split by comments add up; the paragraph's limit holds for them all.
                if (text->size() + r.text().size() > MaxParagraphLength) {
                    error = paragraphTooLong();
                    return false;
                }
                text->append(r.text());
            }
            break;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            error = declaresEntities();
            return false;
        default:
            break;
        }
    }
    if (r.hasError())
        error = damaged(r);
    return false;
}

} // namespace formats::office
