#pragma once

#include "core/fontimage.h"

#include <QByteArray>
#include <QString>

// The font as PIC assembler source: a comment header naming the font, then one 63-byte
// "Char_NNN<TAB><TAB>db<TAB>0x.., ...<TAB>; c" line per code, CR LF between lines and no line
// break after the last. 16,652 bytes plus the name's length.
QByteArray asmSource(const FontImage &font, const QString &fontName);
