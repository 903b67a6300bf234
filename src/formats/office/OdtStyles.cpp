#include "formats/office/OdtStyles.h"

#include <QTextCharFormat>
#include <QTextList>

#include <algorithm>

namespace formats::office::odt {

namespace {

QString fontFamily(const QTextCharFormat &cf)
{
    const QStringList families = cf.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? cf.stringProperty(QTextFormat::FontFamily) : families.first();
}

} // namespace

QString AutomaticStyles::style(const QString &family, const QString &parent, const QString &element,
                               const Attributes &props, const char *prefix, const QList<TabStop> &tabs,
                               const QString &masterPage, const Attributes &textProps)
{
    QString key = family + QLatin1Char('|') + parent + QLatin1Char('|') + masterPage;
    for (const auto &[k, v] : props)
        key += QLatin1Char('|') + k + QLatin1Char('=') + v;
    for (const TabStop &t : tabs)
        key += QStringLiteral("|tab=%1/%2/%3").arg(t.positionPt).arg(int(t.type)).arg(t.leader);
    for (const auto &[k, v] : textProps)
        key += QStringLiteral("|text:") + k + QLatin1Char('=') + v;
    if (const auto it = m_names.constFind(key); it != m_names.cend())
        return *it;
    const QString name = QLatin1String(prefix) + QString::number(m_names.size() + 1);
    m_names.insert(key, name);
    m_w.writeStartElement(QStringLiteral("style:style"));
    m_w.writeAttribute(QStringLiteral("style:name"), name);
    m_w.writeAttribute(QStringLiteral("style:family"), family);
    if (!parent.isEmpty())
        m_w.writeAttribute(QStringLiteral("style:parent-style-name"), parent);
    if (!masterPage.isEmpty())
        m_w.writeAttribute(QStringLiteral("style:master-page-name"), masterPage);
    m_w.writeStartElement(element);
    for (const auto &[k, v] : props)
        m_w.writeAttribute(k, v);
    if (!tabs.isEmpty()) {
        m_w.writeStartElement(QStringLiteral("style:tab-stops"));
        for (const TabStop &t : tabs) {
            m_w.writeEmptyElement(QStringLiteral("style:tab-stop"));
            m_w.writeAttribute(QStringLiteral("style:position"), pt(t.positionPt));
            m_w.writeAttribute(QStringLiteral("style:type"), t.type == QTextOption::RightTab    ? QStringLiteral("right")
                                                                  : t.type == QTextOption::CenterTab ? QStringLiteral("center")
                                                                  : t.type == QTextOption::DelimiterTab ? QStringLiteral("char")
                                                                                                        : QStringLiteral("left"));
            if (t.type == QTextOption::DelimiterTab)
                m_w.writeAttribute(QStringLiteral("style:char"), QStringLiteral("."));
            if (t.leader != QLatin1Char(' ')) {
                m_w.writeAttribute(QStringLiteral("style:leader-style"), t.leader == QLatin1Char('.') ? QStringLiteral("dotted")
                                                                              : t.leader == QLatin1Char('-') ? QStringLiteral("dash")
                                                                                                             : QStringLiteral("solid"));
                m_w.writeAttribute(QStringLiteral("style:leader-text"), t.leader);
            }
        }
        m_w.writeEndElement();
    }
    m_w.writeEndElement();
    if (!textProps.isEmpty()) {
        m_w.writeEmptyElement(QStringLiteral("style:text-properties"));
        for (const auto &[k, v] : textProps)
            m_w.writeAttribute(k, v);
    }
    m_w.writeEndElement();
    return name;
}

QString AutomaticStyles::listStyle(const QTextList &list, double stepPt)
{
    if (const auto it = m_listNames.constFind(&list); it != m_listNames.cend())
        return *it;
    const QString name = QStringLiteral("L") + QString::number(m_listNames.size() + 1);
    m_listNames.insert(&list, name);
    const QTextListFormat::Style s = list.format().style();
    const bool bullet = s == QTextListFormat::ListDisc || s == QTextListFormat::ListCircle || s == QTextListFormat::ListSquare;
    m_w.writeStartElement(QStringLiteral("text:list-style"));
    m_w.writeAttribute(QStringLiteral("style:name"), name);
    m_w.writeStartElement(bullet ? QStringLiteral("text:list-level-style-bullet") : QStringLiteral("text:list-level-style-number"));
    m_w.writeAttribute(QStringLiteral("text:level"), QStringLiteral("1"));
    if (bullet) {
        m_w.writeAttribute(QStringLiteral("text:bullet-char"), s == QTextListFormat::ListCircle ? QStringLiteral("\u25E6")
                                                                    : s == QTextListFormat::ListSquare ? QStringLiteral("\u25AA")
                                                                                                       : QStringLiteral("\u2022"));
    } else {
        const char *format = s == QTextListFormat::ListLowerAlpha   ? "a"
                             : s == QTextListFormat::ListUpperAlpha ? "A"
                             : s == QTextListFormat::ListLowerRoman ? "i"
                             : s == QTextListFormat::ListUpperRoman ? "I"
                                                                    : "1";
        m_w.writeAttribute(QStringLiteral("style:num-format"), QLatin1String(format));
        m_w.writeAttribute(QStringLiteral("style:num-suffix"), QStringLiteral("."));
    }
    m_w.writeStartElement(QStringLiteral("style:list-level-properties"));
    m_w.writeAttribute(QStringLiteral("text:list-level-position-and-space-mode"), QStringLiteral("label-alignment"));
    m_w.writeEmptyElement(QStringLiteral("style:list-level-label-alignment"));
    const QString margin = pt(stepPt * std::max(list.format().indent(), 1));
    m_w.writeAttribute(QStringLiteral("text:label-followed-by"), QStringLiteral("listtab"));
    m_w.writeAttribute(QStringLiteral("text:list-tab-stop-position"), margin);
    m_w.writeAttribute(QStringLiteral("fo:text-indent"), QStringLiteral("-6mm"));
    m_w.writeAttribute(QStringLiteral("fo:margin-left"), margin);
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
    return name;
}

QString AutomaticStyles::textStyle(const QTextCharFormat &cf)
{
    Attributes props;
    if (const QString family = fontFamily(cf); !family.isEmpty()) {
        if (!m_fonts.contains(family))
            m_fonts << family;
        props.append({QStringLiteral("style:font-name"), family});
    }
    if (cf.hasProperty(QTextFormat::FontPointSize) && cf.fontPointSize() > 0)
        props.append({QStringLiteral("fo:font-size"), QString::number(cf.fontPointSize()) + QStringLiteral("pt")});
    if (cf.hasProperty(QTextFormat::FontWeight))
        props.append({QStringLiteral("fo:font-weight"), cf.fontWeight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal")});
    if (cf.hasProperty(QTextFormat::FontItalic))
        props.append({QStringLiteral("fo:font-style"), cf.fontItalic() ? QStringLiteral("italic") : QStringLiteral("normal")});
    if (cf.fontUnderline()) {
        props.append({QStringLiteral("style:text-underline-style"), QStringLiteral("solid")});
        props.append({QStringLiteral("style:text-underline-width"), QStringLiteral("auto")});
        props.append({QStringLiteral("style:text-underline-color"), QStringLiteral("font-color")});
    }
    if (cf.fontStrikeOut())
        props.append({QStringLiteral("style:text-line-through-style"), QStringLiteral("solid")});
    if (cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush)
        props.append({QStringLiteral("fo:color"), cf.foreground().color().name(QColor::HexRgb)});
    if (cf.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        props.append({QStringLiteral("style:text-position"), QStringLiteral("super 58%")});
    else if (cf.verticalAlignment() == QTextCharFormat::AlignSubScript)
        props.append({QStringLiteral("style:text-position"), QStringLiteral("sub 58%")});
    return props.isEmpty() ? QString() : style(QStringLiteral("text"), {}, QStringLiteral("style:text-properties"), props, "T");
}

} // namespace formats::office::odt
