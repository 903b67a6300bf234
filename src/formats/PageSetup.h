#pragma once

// The page every paged copy of a document shares: print, PDF, Word and OpenDocument lay
// the text out on the same paper, margins and footer band, so that they break their pages
// alike and the contents name the same pages in each.

#include <QLocale>
#include <QPageSize>
#include <QSizeF>

#include <cmath>

namespace formats::page {

// Letter where the system measures in inches, else A4.
inline QPageSize localSize()
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(inches ? QPageSize::Letter : QPageSize::A4);
}

inline constexpr double MarginMm = 20;
inline constexpr double MarginPt = MarginMm * 72 / 25.4;
// The footer's type size and its line (Arial's ascent, descent and line gap), and the band
// at the foot of the text it takes: a line of space, then its line.
inline constexpr double FooterPt = 9;
inline constexpr double FooterLinePt = FooterPt * 1.15;
inline constexpr double FooterBandPt = 2 * FooterLinePt;

// The page's exact size in points (Qt's own points are whole: A4 would be 842 high, not
// 841.89, and the text a little shorter than in a word processor).
inline QSizeF inPoints(const QSizeF &millimetres) { return millimetres * 72 / 25.4; }
inline QSizeF inPoints(const QPageSize &page) { return inPoints(page.size(QPageSize::Millimeter)); }

// The text's width and height in points on a page of the given size in points, above the
// footer band; each length in whole twentieths of a point, as word processors keep them.
inline QSizeF textArea(const QSizeF &pagePt)
{
    const auto twips = [](double pt) { return std::round(pt * 20) / 20; };
    return {twips(pagePt.width()) - 2 * twips(MarginPt),
            twips(pagePt.height()) - 2 * twips(MarginPt) - twips(FooterBandPt)};
}
inline QSizeF textArea(const QPageSize &page) { return textArea(inPoints(page)); }

} // namespace formats::page
