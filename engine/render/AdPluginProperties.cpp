// The named options a plugin library offers, and the values the engine sets before initialising it.
#include "engine/render/AdPluginProperties.hpp"

#include <strings.h>

#include "engine/render/AdDLLLoader.hpp"

namespace ad {

namespace {

void CollectProperty(void* data, const uint8_t* record) {
    static_cast<std::vector<TAdPluginProperty>*>(data)->push_back(TAdPluginPropertyList::ParseRecord(record));
}

} // namespace

TAdPluginProperty TAdPluginPropertyList::ParseRecord(const uint8_t* record) {
    TAdPluginProperty property;
    property.Name = ReadShortString(record + kAdPropertyNameOffset, 64);
    property.Caption = ReadShortString(record + kAdPropertyCaptionOffset, 64);
    property.Group = ReadShortString(record + kAdPropertyGroupOffset, 64);
    property.Type = record[kAdPropertyTypeOffset];
    return property;
}

void TAdPluginPropertyList::ReadProperties(AdApplicationPropertiesFn properties) {
    Clear();
    if (properties != nullptr) properties(&properties_, &CollectProperty);
}

void TAdPluginPropertyList::Clear() {
    properties_.clear();
    values_.clear();
}

int TAdPluginPropertyList::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < properties_.size(); ++i)
        if (strcasecmp(properties_[i].Name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
    return -1;
}

bool TAdPluginPropertyList::SetProperty(const std::string& name, const void* data, int size) {
    const int index = IndexOf(name);
    if (index < 0 || size < 0) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> copy(bytes, bytes + size);
    for (Value& value : values_)
        if (strcasecmp(value.name.c_str(), name.c_str()) == 0) {
            value.data = std::move(copy);
            return true;
        }
    values_.push_back({properties_[static_cast<size_t>(index)].Name, std::move(copy)});
    return true;
}

bool TAdPluginPropertyList::SetBoolean(const std::string& name, bool value) {
    const uint8_t byte = value ? 1 : 0;
    return SetProperty(name, &byte, 1);
}

std::vector<AdPropertyValue> TAdPluginPropertyList::Values() const {
    std::vector<AdPropertyValue> result;
    result.reserve(values_.size());
    for (const Value& value : values_)
        result.push_back({value.name.c_str(), value.data.data(), static_cast<int>(value.data.size())});
    return result;
}

void TAdPluginPropertyList::WriteProperties(AdApplication& application) const {
    const std::vector<AdPropertyValue> values = Values();
    application.SetProperties(static_cast<int>(values.size()), values.data());
}

} // namespace ad
