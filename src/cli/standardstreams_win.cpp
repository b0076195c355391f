#include "cli/standardstreams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {
bool closedInput = false;
bool closedOutput = false;
} // namespace

void prepareStandardStreams()
{
    // A console program started without a standard stream has none to hand on (-2).
    closedInput = _fileno(stdin) < 0;
    closedOutput = _fileno(stdout) < 0;
    // The C runtime opens them in text mode, which would turn every LF of a PNG or of the
    // assembler's CR LF into CR LF again.
    if (!closedInput)
        _setmode(_fileno(stdin), _O_BINARY);
    if (!closedOutput)
        _setmode(_fileno(stdout), _O_BINARY);
}

bool standardInputWasClosed()
{
    return closedInput;
}

bool standardOutputWasClosed()
{
    return closedOutput;
}
