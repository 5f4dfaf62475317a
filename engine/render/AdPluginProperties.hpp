// The named options a plugin library offers, and the values the engine sets before initialising it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad {

struct TAdPluginProperty {
    std::string Name;
    std::string Caption;
    std::string Group;
    uint8_t Type = 0; // kAdPropertyBoolean, kAdPropertyHidden, ...
};

class TAdPluginPropertyList {
public:
    // Replaces the list with what the library reports through "AdApplicationProperties".
    void ReadProperties(AdApplicationPropertiesFn properties);
    // Parses one 196-byte record.
    static TAdPluginProperty ParseRecord(const uint8_t* record);

    void Clear();
    const std::vector<TAdPluginProperty>& Properties() const { return properties_; }
    // Index of the property named so (case-insensitive), or -1.
    int IndexOf(const std::string& name) const;
    bool Has(const std::string& name) const { return IndexOf(name) >= 0; }

    // Sets the value of an offered property (unknown names are ignored); false if not offered.
    bool SetProperty(const std::string& name, const void* data, int size);
    bool SetBoolean(const std::string& name, bool value);
    // The values set so far, for AdApplication::SetProperties.
    std::vector<AdPropertyValue> Values() const;
    // Hands the set values to the application object.
    void WriteProperties(AdApplication& application) const;

private:
    struct Value {
        std::string name;
        std::vector<uint8_t> data;
    };
    std::vector<TAdPluginProperty> properties_;
    std::vector<Value> values_;
};

} // namespace ad
