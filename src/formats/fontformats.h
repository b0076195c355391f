#pragma once

#include "core/asmexport.h"
#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"
#include "formats/characterset.h"
#include "formats/csource.h"
#include "formats/importresult.h"
#include "formats/inkimage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// What a reader may be told beyond the bytes.
struct ReadOptions
{
    qint64 offset = 0; // where the font starts in raw bytes
    int first = 0; // the code of the first glyph in raw bytes
    std::optional<int> count; // how many glyphs raw bytes hold; all up to code 255
    GlyphLayout layout; // how a table's bytes hold each glyph (raw bytes, text, assembler)
    CharacterSet charset; // the character each code is, for fonts that say which glyph is which
    bool byPosition = false; // take a console font's glyphs in order, not by its Unicode table
    InkRule ink = InkRule::Dark; // which pixels of a sheet are ink
    std::optional<int> pixelSize; // a scalable font's height in pixels, ascent to descent
};

// What a writer may be told beyond the font.
struct WriteOptions
{
    // The name the output gives the font, where the format has one (a header comment, a family,
    // an identifier); without it each format derives one from the font's file name.
    std::optional<QString> name;
    QString fontFileName; // "big.pf"; empty for standard input
    int scale = 1; // picture pixels per glyph pixel
    CodeRange codes; // the characters to write, where the format can hold fewer than 256
    PicTarget target = PicTarget::Pic18; // the processor family an assembler table is for
    AsmSyntax syntax = AsmSyntax::Mpasm; // the assembler an assembler table is written for
    CharacterSet charset; // the character each code is, for formats that say it
    QString firstFileName; // for a format of two files, the first one's name: "font.h"
    GlyphLayout layout; // the order and width of each glyph's bytes, for firmware tables
    CStorage storage = CStorage::Const; // where a C table lives on the chip
};

// The options beyond bytes and font that a reader or writer takes; the commands refuse the
// others, so that an option never silently does nothing.
enum class FormatOption {
    Offset = 0x1,
    Name = 0x2,
    Scale = 0x4,
    Charset = 0x8,
    ByPosition = 0x10,
    RawSpan = 0x20, // the first code and count of raw glyphs
    BitOrder = 0x40, // raw rows with bit 0 the leftmost pixel, the older spelling of Layout
    Ink = 0x80,
    Codes = 0x100,
    Target = 0x200,
    PixelSize = 0x400,
    Syntax = 0x800,
    Layout = 0x1000, // the byte order and width of a table's glyphs
    Storage = 0x2000, // const, PROGMEM or __flash
};
Q_DECLARE_FLAGS(FormatOptions, FormatOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(FormatOptions)

// One format the programs read or write, a row of fontFormats(). A new format is one row and its
// reader or writer or both; the commands find everything else here.
struct FontFormat
{
    const char *name; // as the programs take it when a format is named
    const char *title; // as messages name it: "PSF", "BDF, PCF, Windows FON"
    const char *aliases; // other names it answers to, space-separated
    const char *suffixes; // file name extensions that mean it, lower case, space-separated
    // One paragraph each on what is read and written, for a help or a dialog; the options the
    // format takes are listed beside it, so the paragraphs name none; null when not read or
    // written.
    const char *readHelp;
    const char *writeHelp;
    bool (*recognise)(QByteArrayView bytes); // from the content; null: only when named
    ImportResult (*read)(QByteArrayView bytes, const ReadOptions &options);
    QByteArray (*write)(const FontImage &font, const WriteOptions &options);
    FormatOptions readOptions;
    FormatOptions writeOptions;
    bool compressible; // may come gzip-compressed, as distributions ship fonts
    // A format written as two files side by side (a C header and its source): the second file's
    // extension and bytes; write() makes the first, whose extension is the first of suffixes.
    const char *secondSuffix = nullptr;
    QByteArray (*writeSecond)(const FontImage &font, const WriteOptions &options) = nullptr;

    bool reads() const { return read != nullptr; }
    bool writes() const { return write != nullptr; }
    bool answersTo(QStringView name) const;
    bool hasSuffix(QStringView suffix) const;
};

std::span<const FontFormat> fontFormats();

// The format by its name or an alias (any case), or null.
const FontFormat *formatNamed(QStringView name);
// The format that writes files with this name's extension, or null.
const FontFormat *writerForFileName(const QString &fileName);

// The names of the formats that read (or write), or that take an option, for messages and help:
// "png, psf, bdf or c".
QString readerNames();
QString writerNames();
QString namesTaking(FormatOption option, bool writing);

// For a format of two files, both paths from the path of either ("osd.c" gives "osd.h" and
// "osd.c"), the first file first; empty when the path ends in neither's extension.
QStringList pairedFileNames(const FontFormat &format, const QString &path);

// A picture in a format that is read by no reader ("JPEG", "GIF"), or an empty text.
QString unreadPictureKind(QByteArrayView bytes);

// The name a font goes by in formats that name it, when none is given: its file name without the
// extension; empty for standard input.
QString fontBaseName(const QString &fontFileName);

// The bytes a reader may need from a source: all of it up to a limit no font comes near.
inline constexpr qsizetype MaxSourceSize = 64 * 1024 * 1024;

// Reads a font from a whole file's bytes, undoing gzip first where the format may come
// compressed. Without a format it is told from the content; when the content tells none, the
// result says so (unrecognised), for the caller to offer the formats that are only read when
// named.
ImportResult readFont(QByteArrayView bytes, const FontFormat *format, const ReadOptions &options);
