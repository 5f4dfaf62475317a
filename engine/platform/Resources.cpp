// The registry of embedded resources, filled by the generated tables before main runs.
#include "engine/platform/Resources.hpp"

#include <algorithm>
#include <map>
#include <utility>

namespace ad::platform {

namespace {

std::string Lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return result;
}

using Key = std::pair<ResourceKind, std::string>;

// Built on first use: the generated tables register from static constructors in any order.
std::map<Key, Resource, std::less<>>& Registry() {
    static std::map<Key, Resource, std::less<>> registry;
    return registry;
}

} // namespace

EResourceNotFound::EResourceNotFound(ResourceKind kind, std::string_view name)
    : std::runtime_error("The program has no " + std::string(ResourceKindName(kind)) + " resource named \"" +
                         std::string(name) + "\".") {}

std::string_view ResourceKindName(ResourceKind kind) {
    switch (kind) {
    case ResourceKind::Bitmap:
        return "bitmap";
    case ResourceKind::Wave:
        return "wave";
    case ResourceKind::RawData:
        return "raw data";
    }
    return "unknown";
}

void RegisterResources(const ResourceEntry* entries, size_t count) {
    auto& registry = Registry();
    for (size_t i = 0; i < count; ++i) {
        const ResourceEntry& e = entries[i];
        const auto size = static_cast<size_t>(e.end - e.begin);
        registry.emplace(Key{e.kind, Lower(e.name)}, Resource{e.name, e.kind, {e.begin, size}});
    }
}

const Resource* FindResource(ResourceKind kind, std::string_view name) {
    const auto& registry = Registry();
    const auto it = registry.find(Key{kind, Lower(name)});
    return it == registry.end() ? nullptr : &it->second;
}

const Resource& LoadResource(ResourceKind kind, std::string_view name) {
    const Resource* resource = FindResource(kind, name);
    if (resource == nullptr)
        throw EResourceNotFound(kind, name);
    return *resource;
}

} // namespace ad::platform
