// The files the program carries inside its executable (bitmaps, WAVE sounds, raw data), found by
// kind and name without regard to case. The build embeds them (cmake/Resources.cmake).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ad::platform {

enum class ResourceKind : uint8_t { Bitmap, Wave, RawData };

// One embedded file as the generated tables list it; the bytes run from begin to end.
struct ResourceEntry {
    const char* name;
    ResourceKind kind;
    const unsigned char* begin;
    const unsigned char* end;
};

// A found resource: its registered name and its bytes, valid for the whole run.
struct Resource {
    std::string_view name;
    ResourceKind kind;
    std::span<const uint8_t> bytes;
};

class EResourceNotFound : public std::runtime_error {
public:
    EResourceNotFound(ResourceKind kind, std::string_view name);
};

// Adds a table of entries (kept by reference, so it must live for the whole run). A name already
// registered for the same kind keeps its first entry.
void RegisterResources(const ResourceEntry* entries, size_t count);

// Registers a generated table during static initialisation.
struct ResourceRegistration {
    ResourceRegistration(const ResourceEntry* entries, size_t count) { RegisterResources(entries, count); }
};

// The resource of that kind and name, compared without regard to case; nullptr if there is none.
const Resource* FindResource(ResourceKind kind, std::string_view name);

// As FindResource, but a missing resource raises EResourceNotFound.
const Resource& LoadResource(ResourceKind kind, std::string_view name);

std::string_view ResourceKindName(ResourceKind kind);

} // namespace ad::platform
