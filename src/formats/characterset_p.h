#pragma once

#include <QString>

#include <array>

// The one per-OS part of CharacterSet: the character of each code in a set named as iconv
// names it (characterset_iconv.cpp), as a Windows code page (characterset_win.cpp), or in
// Latin-1 alone (characterset_generic.cpp, for other builds without iconv). False, with the reason in *why, when there is no such single-byte set.
using CodeTable = std::array<char32_t, 256>;
bool loadCodeTable(const QString &name, CodeTable &table, QString *why);
