// Shared-library loading with dlopen; the handle is closed when the owner lets go of the object.
#include "engine/platform/DynamicLibrary.hpp"

#include <dlfcn.h>

namespace ad::platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& path, std::string& error) {
    dlerror(); // a stale message from an earlier call must not be reported for this one
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle, path));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const {
    return dlsym(handle_, name);
}

} // namespace ad::platform
