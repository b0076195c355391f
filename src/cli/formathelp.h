#pragma once

#include "cli/commandline.h"
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

// The character set --charset names, Latin-1 when it is not given; nothing, after a usage error
// that says how to list the sets, when there is none of that name.
std::optional<CharacterSet> characterSetOption(const CommandLine &line);
