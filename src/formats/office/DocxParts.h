#pragma once

// The parts of a Word file that do not depend on the text: content types, relationships,
// styles, settings, the footer, the properties; and the numbering of the lists found.

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace formats::office::docx {

// One numbered or bulleted list: its Word format ("decimal", "bullet"...), and the
// text of a bullet.
struct ListDef {
    QString format;
    QString bullet;
    int level = 0; // 0-based indent
};

QByteArray contentTypes();
QByteArray packageRels();
// The pictures' entries relative to word/ ("media/image1.png"), as rIdPic1...
QByteArray documentRels(const QStringList &pictures = {});
QByteArray styles();
QByteArray settings();
// "Page N of M" at the right, after the name when there is one.
QByteArray footer(const QString &name, int textWidth);
QByteArray coreProperties(const QString &title);
QByteArray numbering(const std::vector<ListDef> &lists); // list i is numId i + 1

// Twentieths of a point, Word's measure of lengths.
int twips(double points);

} // namespace formats::office::docx
