#pragma once

#include "cli/cli.h"

#include <span>

// Every subcommand, in the order the help lists them.
std::span<const Command> commands();
