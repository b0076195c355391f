#pragma once

#include "cli/commandline.h"
#include "core/coderange.h"
#include "formats/fontformats.h"

#include <QString>

#include <optional>
#include <span>

// Which option of the formats library each command-line option sets. The commands refuse an
// option that the format read or written does not take, so that none silently does nothing.
struct FormatOptionUse
{
    const Option *option;
    FormatOption sets;
    bool choosesRaw = false; // given without --from, it means raw bytes
};
std::span<const FormatOptionUse> formatOptionUses();

enum class FormatUse { Reading, Writing };

// Why an option given does not fit the format ("--scale applies to png only"), or an empty text.
QString formatOptionMisfit(const CommandLine &line, const FontFormat &format, FormatUse use);

// The format a choice of formats (--from, --to) names, or null when it is not given.
const FontFormat *formatGiven(const CommandLine &line, const Option &option);

// The format --from names; raw when an option that means raw bytes is given without it; null to
// tell it from the content.
const FontFormat *readerGiven(const CommandLine &line);

// What the command line tells a format's reader (--offset, --first, --count, --flip, --layout,
// --width, --charset, --by-position, --ink, --size). An option the format does not take is a
// usage error, after which there is nothing; without a format the reader's is checked once the
// content has told it.
std::optional<ReadOptions> readOptionsGiven(const CommandLine &line, const FontFormat *format);

// What the command line tells a format's writer (--name, --scale, --codes, --target, --syntax,
// --layout, --width, --storage, --charset), for the font read from fontPath. An option the format
// does not take is a usage error, after which there is nothing.
std::optional<WriteOptions> writeOptionsGiven(const CommandLine &line, const FontFormat &format,
                                              const QString &fontPath);

// The layout --layout and --width give (--flip for rows-lsb), rows at width 8 without them;
// nothing after a usage error.
std::optional<GlyphLayout> layoutGiven(const CommandLine &line);
// The range --codes gives, or all 256 codes without it; nothing, after a usage error, when its
// value is no range.
std::optional<CodeRange> codesGiven(const CommandLine &line);
// The character set --charset names, Latin-1 when it is not given; nothing, after a usage error
// that says how to list the sets, when there is none of that name.
std::optional<CharacterSet> characterSetGiven(const CommandLine &line);

// -o's file, "-" (standard output) when it is absent.
QString outputGiven(const CommandLine &line);

// The course of export and text: the font read from the command line's one file, written through
// the format's writer with the options the command line gives it; the exit status.
int writeFontAs(const CommandLine &line, const FontFormat &format);
