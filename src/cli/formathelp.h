#pragma once

#include "cli/formatoptions.h"

#include <QString>

// The "Formats:" block of import's (reading) or convert's (writing) help, from the formats
// table: each format's name, what it is, and the options it takes.
QString formatList(FormatUse use);
