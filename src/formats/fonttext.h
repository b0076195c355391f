#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The font as reviewable text: 256 blocks in code order, each a heading ("Char: A / 65 / 0x41",
// the editor's own label) and eight rows of pixels, '#' for ink and '.' for paper, each followed
// by the row's byte ("...##... 0x18"). A line starting with ';' is a comment. With a range, only
// its characters, and the first comment says which. With a layout, the bytes are in it, which the
// second comment states: each row's own in rows layouts; in columns layouts row N ends with
// column N's byte, and the rows below the last column with none.
QByteArray fontText(const FontImage &font, const CodeRange &codes = {},
                    const GlyphLayout &layout = {});

// One row's eight pixels as the text form draws them, leftmost first: "...##..." for 0x18.
QByteArray pixelRow(std::uint8_t row);

struct FontTextParse
{
    FontImage font {};
    int errorLine = 0; // 1-based; 0 when the text was read
    QString error;
};

// The exact inverse of fontText(): blank lines, comments and a CR before each line break are
// allowed anywhere; every other line must be the next heading or row exactly as fontText()
// writes it, and each row's byte must match its pixels in the layout. A text of only some
// characters is no font: it is refused, since the others would have to be made up.
FontTextParse parseFontText(QByteArrayView text, const GlyphLayout &layout = {});
// Why a text whose header comment states another layout than this one is not read in it, or an
// empty text; *line is set to the comment's line. The text form and the assembler export state
// any layout but rows at width 8 ("; Layout: columns at width 5. ..."), in the comments before
// the first other line; a text that states none (or a table written by hand) is read in any.
QString statedLayoutMismatch(QByteArrayView text, const GlyphLayout &layout, int *line);

// Whether the first line that is neither blank nor a comment is the heading of character 0.
bool looksLikeFontText(QByteArrayView text);
