#pragma once

#include "core/charbitmap.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The characters FIRST to LAST, both included, that a command works on or an output holds:
// firmware that draws only printable ASCII keeps codes 32 to 127 and saves the rest of its
// program memory. Every code keeps its own number; only the output leaves the others out.
struct CodeRange
{
    int first = 0;
    int last = CharacterCount - 1;

    int count() const { return last - first + 1; }
    bool isWhole() const { return first == 0 && last == CharacterCount - 1; }
    bool contains(int code) const { return code >= first && code <= last; }
    friend bool operator==(const CodeRange &, const CodeRange &) = default;
};

// A whole number written in decimal or as 0x hex, as codes, offsets and counts are given; nothing
// for anything else.
std::optional<qint64> parseNumber(QStringView text);

struct CodeRangeParse
{
    std::optional<CodeRange> range;
    QString error; // why the text is no range, when it is not
};

// "32-127", "0x20-0x7F" or one code, "65"; decimal or 0x hex, 0 to 255, FIRST not above LAST.
CodeRangeParse parseCodeRange(QStringView text);

// "codes 32 to 127", or "code 65" for one.
QString codeRangeText(const CodeRange &range);
// Codes in ascending order as ranges: "0, 32, 127-160".
QString codeRangesText(const QList<int> &codes);
