#pragma once

#include <QString>

#include <cstdio>

// Standard input, output and error as the commands rely on them. Called first thing in main(),
// before anything opens a file.
//
// A descriptor 0, 1 or 2 that the caller closed (">&-") would be taken by the next file the
// program opens (Qt's own event descriptor, say), and output meant for standard output would go
// there. Each closed one is opened on the null device instead, and remembered, so that reading or
// writing it fails with a message of its own. The streams carry bytes as they are: fonts,
// pictures, sources with their own CR LF line breaks, the same on every system.
void prepareStandardStreams();

bool standardInputWasClosed();
bool standardOutputWasClosed();

// Writes text to standard output or standard error: as UTF-8, or as characters to a Windows
// console, which would read bytes in its own code page. False when it could not be written
// (errno tells why, where there is a reason).
bool writeText(std::FILE *stream, const QString &text);
