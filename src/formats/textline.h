#pragma once

#include "formats/characterset.h"

#include <QString>

#include <cstdint>
#include <vector>

// A text turned into the codes that draw it: each character its code in a character set, a
// newline starting the next line.
struct TextCodes
{
    std::vector<std::vector<std::uint8_t>> lines {{}};
    // The first character the set lacks, when there is one; the lines are then incomplete.
    char32_t missing = CharacterSet::NoCharacter;

    bool ok() const { return missing == CharacterSet::NoCharacter; }
    size_t longest() const;
};

TextCodes textCodes(const QString &text, const CharacterSet &charset);
