#pragma once

#include "cli/commandline.h"
#include "core/asmexport.h"
#include "core/coderange.h"
#include "formats/fontformats.h"

#include <QString>

#include <optional>

// The "Formats:" block of import's (reading) or convert's (writing) help, from the formats
// table.
QString formatList(bool reading);

// Why an option does not fit the format it was given with ("--scale applies to png only"), or an
// empty text when it does.
QString optionMisfit(const Option &option, FormatOption needs, const FontFormat &format,
                     bool writing);

// The range --codes gives, or all 256 codes without it; nothing, after a usage error, when its
// value is no range.
std::optional<CodeRange> codesGiven(const CommandLine &line);
// The family --target names, or pic18 without it; nothing after a usage error.
std::optional<PicTarget> targetGiven(const CommandLine &line);
// The character set --charset names, Latin-1 when it is not given; nothing, after a usage error
// that says how to list the sets, when there is none of that name.
std::optional<CharacterSet> characterSetOption(const CommandLine &line);

// What the command line tells a format's writer (--name, --scale, --codes, --target,
// --charset), for the font read from fontPath. An option the format does not take is a usage
// error, after which there is nothing.
std::optional<WriteOptions> writeOptionsGiven(const CommandLine &line, const FontFormat &format,
                                              const QString &fontPath);

// The course of export and text: the font read from the command line's one file, written through
// the format's writer with the options the command line gives it; the exit status.
int writeFontAs(const CommandLine &line, const FontFormat &format);
