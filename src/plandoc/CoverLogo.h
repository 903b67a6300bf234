#pragma once

// The business's logo on the formatted plan's cover: at the start of the title, a line
// above the business name, so the cover still opens with its title.

#include "formats/Pictures.h"

#include <optional>

class QTextCursor;
class QTextDocument;

namespace plandoc::coverlogo {

// 5 cm, in the document's pixels.
inline constexpr qreal MaxHeight = 5 / 2.54 * 96;

// The logo at its size on the cover: scaled down, never up, to 5 cm high and to the
// text's width, its aspect kept.
formats::Picture sized(formats::Picture logo);

// Puts the logo before the text of the cursor's block, with a line break after it.
void insert(const QTextCursor &block, const formats::Picture &logo);

// The logo of a document whose cover opens with a title: the first picture of the title
// or of a paragraph before it.
std::optional<formats::Picture> find(const QTextDocument &doc);

} // namespace plandoc::coverlogo
