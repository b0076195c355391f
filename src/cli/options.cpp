#include "cli/options.h"

#include <vector>

namespace {
std::vector<OptionValue> formatValues(bool (FontFormat::*does)() const)
{
    std::vector<OptionValue> values;
    const std::span<const FontFormat> formats = fontFormats();
    for (size_t i = 0; i < formats.size(); ++i) {
        if ((formats[i].*does)())
            values.push_back({formats[i].name, int(i), formats[i].aliases});
    }
    return values;
}
} // namespace

std::span<const OptionValue> readFormatValues()
{
    static const std::vector<OptionValue> values = formatValues(&FontFormat::reads);
    return values;
}

std::span<const OptionValue> writeFormatValues()
{
    static const std::vector<OptionValue> values = formatValues(&FontFormat::writes);
    return values;
}
