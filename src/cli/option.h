#pragma once

#include <QtGlobal>

#include <span>

// One value of an option that takes a fixed set of them: the word given on the command line, the
// code the command reads it as (an enumerator of the library it configures) and other words that
// mean the same, which the help does not list.
struct OptionValue
{
    const char *name;
    int code;
    const char *aliases = ""; // space-separated
};

// One option a command may take, and what its value must be; the parser refuses any other value,
// naming the ones it takes, so that a command finds only values it can use.
struct Option
{
    enum class Kind {
        Switch, // no value
        Text, // any text the command checks itself (a name, a code range)
        Output, // a file to write; '-' is standard output
        Number, // a whole number from first to last, decimal or 0x hex
        Choice, // one of values(), with ":N" from first to last after it when last is not 0
    };

    const char *longName; // "output", given as --output
    char shortName; // 'o', given as -o; 0 for none
    Kind kind;
    const char *valueName; // "FILE", "N"; for a choice, null: its values joined with '|'
    const char *help; // one paragraph for the help's Options block
    qint64 first = 0; // a number's range, or a choice's count's
    qint64 last = 0;
    // A choice's values; a function, so that they may come from a table built at run time.
    std::span<const OptionValue> (*values)() = nullptr;

    bool takesValue() const { return kind != Kind::Switch; }
};

// The declarations of options, each one line: switchOption("bold", "..."),
// numberOption("scale", "N", 1, 32, "..."), choiceOption<InkValues>("ink", "...").
constexpr Option switchOption(const char *longName, const char *help)
{
    return {longName, 0, Option::Kind::Switch, nullptr, help};
}

constexpr Option textOption(const char *longName, const char *valueName, const char *help)
{
    return {longName, 0, Option::Kind::Text, valueName, help};
}

constexpr Option numberOption(const char *longName, const char *valueName, qint64 first,
                              qint64 last, const char *help)
{
    return {longName, 0, Option::Kind::Number, valueName, help, first, last};
}

template<const auto &Values> constexpr std::span<const OptionValue> valuesOf()
{
    return Values;
}

template<const auto &Values> constexpr Option choiceOption(const char *longName, const char *help)
{
    return {longName, 0, Option::Kind::Choice, nullptr, help, 0, 0, valuesOf<Values>};
}

// A choice that may take a count after a colon, "down:2": first when it takes none.
template<const auto &Values>
constexpr Option choiceOption(const char *longName, const char *valueName, qint64 first,
                              qint64 last, const char *help)
{
    return {longName, 0, Option::Kind::Choice, valueName, help, first, last, valuesOf<Values>};
}

// A choice whose values are known only at run time (the formats of a table), under a name of its
// own in the help.
constexpr Option choiceOption(const char *longName, const char *valueName,
                              std::span<const OptionValue> (*values)(), const char *help)
{
    return {longName, 0, Option::Kind::Choice, valueName, help, 0, 0, values};
}
