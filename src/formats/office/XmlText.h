#pragma once

// What the Word and OpenDocument writers share: text XML can carry, and the page.

#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringView>

namespace formats::office {

// The text without the characters XML 1.0 cannot hold: C0 controls other than tab, line
// feed and carriage return, U+FFFE, U+FFFF and unpaired surrogates. Pasted text brings
// them; written as they are, they make the whole file unreadable.
QString validXml(QStringView text);

// The page a new document gets, as for PDF: Letter where the system measures in
// inches, else A4. Margins are 2 cm like the printed pages.
QPageSize pageSize();
inline constexpr double MarginMm = 20.0;

} // namespace formats::office
