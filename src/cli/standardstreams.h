#pragma once

// Standard input, output and error as the commands rely on them. Called first thing in main(),
// before anything opens a file.
//
// A descriptor 0, 1 or 2 that the caller closed (">&-") would be taken by the next file the
// program opens (Qt's own event descriptor, say), and output meant for standard output would go
// there. Each closed one is opened on the null device instead, and remembered, so that reading or
// writing it fails with a message of its own. Standard input and output carry bytes, never text
// with translated line ends.
void prepareStandardStreams();

bool standardInputWasClosed();
bool standardOutputWasClosed();
