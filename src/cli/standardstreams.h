#pragma once

#include <QString>

#include <cstdio>

// Standard input, output and error carry bytes as they are: fonts, pictures, sources with their
// own CR LF line breaks, and the same text on every system.
void useBinaryStandardStreams();

// Writes text to standard output or standard error: as UTF-8, or as characters to a Windows
// console, which would read bytes in its own code page.
void writeText(std::FILE *stream, const QString &text);
