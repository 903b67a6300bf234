#pragma once

// What the Word and OpenDocument writers share: text XML can carry.

#include <QString>
#include <QStringView>

namespace formats::office {

// The text without the characters XML 1.0 cannot hold: C0 controls other than tab, line
// feed and carriage return, U+FFFE, U+FFFF and unpaired surrogates. Pasted text brings
// them; written as they are, they make the whole file unreadable.
QString validXml(QStringView text);

} // namespace formats::office
