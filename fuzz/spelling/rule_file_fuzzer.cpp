// Reads arbitrary bytes as a rule file and parses every value into entries.

#include "core/spelling/rule_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    const ProfileText profile(std::span(data, size));
    for (std::u16string_view section : ruleSectionNames)
        for (std::u16string_view key :
             {std::u16string_view(u"Simple"), std::u16string_view(u"Complex")}) {
            const std::u16string value = profile.value(section, key);
            if (value.size() > ProfileText::maxValueUnits)
                std::abort();
            const auto entries = parseRuleEntries(value);
            for (std::size_t i = 1; i < entries.size(); ++i)
                if (entries[i - 1].size() < entries[i].size())
                    std::abort();
        }
    return 0;
}
