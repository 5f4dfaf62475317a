// Hostile plugin records: whatever a library writes into its information record and its option
// records reads without harm, and every option it offers can be found and set by its name.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <strings.h>

#include "engine/render/AdDLLLoader.hpp"
#include "engine/render/AdPluginProperties.hpp"
#include "tests/fuzz/FuzzTargets.hpp"

namespace vimbo::fuzz {

namespace {

// The bytes the stand-in library hands over, as a real one would from its exports.
std::span<const uint8_t> input;

void FillInformation(uint8_t* record) {
    std::memcpy(record, input.data(), std::min<size_t>(input.size(), ad::kAdLibraryInfoSize));
}

void ReportProperties(void* data, ad::AdPropertyProc proc) {
    std::span<const uint8_t> rest = input.subspan(std::min<size_t>(input.size(), ad::kAdLibraryInfoSize));
    while (!rest.empty()) {
        std::array<uint8_t, ad::kAdPropertyRecordSize> record{};
        const size_t n = std::min(rest.size(), record.size());
        std::memcpy(record.data(), rest.data(), n);
        proc(data, record.data());
        rest = rest.subspan(n);
    }
}

} // namespace

void PluginRecord(const uint8_t* data, size_t size) {
    input = {data, size};
    const ad::TAdLibraryInformation information = ad::ReadLibraryInformation(&FillInformation);
    Expect(information.Title.size() <= 255 && information.Version.size() <= 255, "short strings stay short");

    ad::TAdPluginPropertyList properties;
    properties.ReadProperties(&ReportProperties);
    const size_t offered = properties.Properties().size();
    Expect(offered == (size > ad::kAdLibraryInfoSize
                           ? (size - ad::kAdLibraryInfoSize + ad::kAdPropertyRecordSize - 1) /
                                 ad::kAdPropertyRecordSize
                           : 0),
           "one option per record");
    for (const ad::TAdPluginProperty& property : properties.Properties()) {
        Expect(property.Name.size() <= 64 && property.Caption.size() <= 64 && property.Group.size() <= 64,
               "an option's strings keep to their fields");
        const int index = properties.IndexOf(property.Name);
        Expect(index >= 0 && strcasecmp(properties.Properties()[static_cast<size_t>(index)].Name.c_str(),
                                        property.Name.c_str()) == 0,
               "an offered option is found by its name");
        Expect(properties.SetBoolean(property.Name, true), "an offered option can be set");
    }
    Expect(properties.Values().size() <= offered, "at most one value per option");
    input = {};
}

} // namespace vimbo::fuzz
