#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArray>
#include <QString>

// Where the table lives on the chip. A const array stays in flash on ARM and PIC32, but avr-gcc
// copies it into RAM at start-up unless it is marked for program memory, as 2 KB of an
// ATmega328P's 2 KB of RAM: Progmem is avr-libc's PROGMEM (read with pgm_read_byte), Flash
// avr-gcc's __flash address space (read as any array, in C only).
enum class CStorage { Const, Progmem, Flash };

// A valid C identifier from any name: characters outside [A-Za-z0-9_] become '_', and a name
// that starts with a digit or '_' (reserved at file scope when followed by a capital or '_')
// or that is a keyword of C or C++ gets the prefix "font_". An empty name gives "font".
QString cIdentifier(const QString &name);

// The font as C, a header and its source, so that any number of files of one firmware include
// the header and one object defines the array. NAME must already be a C identifier; both compile
// as C99 and C++ without warnings. With a range, only its characters: NAME[count][8], the glyph
// of code c at NAME[c - first]. With a layout, each character's bytes in it: NAME[count][N] for
// columns at width N. The comment above both states the layout, and the storage and how to read
// a byte where it is not plain const.
// The header: an include guard and `extern const unsigned char NAME[256][8];`, with C linkage
// for C++.
QByteArray cHeader(const QString &identifier, const CodeRange &codes = {},
                   const GlyphLayout &layout = {}, CStorage storage = CStorage::Const);
// The source: includes the header by its file name and defines NAME, one line of the glyph's
// bytes per character with a comment naming its code and showing it as the assembler export
// does.
QByteArray cSource(const FontImage &font, const QString &identifier, const QString &headerFileName,
                   const CodeRange &codes = {}, const GlyphLayout &layout = {},
                   CStorage storage = CStorage::Const);
