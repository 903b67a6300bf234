#pragma once

// Word and OpenDocument files made by hand, to hurt the readers: a body wrapped in the
// least a reader needs, and zips with headers that lie. The tests and bench/office_hostile
// both build theirs from these.

#include "formats/office/Zip.h"

#include <QByteArray>

#include <vector>

class QTextDocument;

namespace officefiles {

extern const QByteArray WordNs; // the xmlns:w attribute

// A Word file of this body; extra entries after it.
QByteArray wordFile(const QByteArray &body, std::vector<formats::office::zip::Entry> extra = {});
// An OpenDocument text file of this body (office:text's content); extra entries after it.
QByteArray odtFile(const QByteArray &body, std::vector<formats::office::zip::Entry> extra = {});
// An OpenDocument file without content.xml.
QByteArray odtWithoutContent();
// What LibreOffice makes of a file saved with a password: parts that are no XML, and a
// manifest that says how they were encrypted.
QByteArray passwordOdt();

// Fills an empty document with `runs` runs in the editor's font (Arial 12), a hundred to
// a paragraph, bold and plain by turns; every seventh holds a tab and two spaces.
void fillRuns(QTextDocument &doc, int runs);

// Sets the "encrypted" flag of every entry, in the local and the central headers.
QByteArray encrypted(QByteArray zip);
// Declares every entry's inflated size as 100 bytes.
QByteArray lyingSizes(QByteArray zip);

} // namespace officefiles
