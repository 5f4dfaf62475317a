// Loading shared libraries by path and looking up their exports, owned through RAII.
#pragma once

#include <memory>
#include <string>

namespace ad::platform {

class DynamicLibrary {
public:
    // Loads the library; nullptr with the loader's reason in `error` when it cannot be loaded.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& path, std::string& error);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    void* Symbol(const char* name) const; // nullptr when not exported
    const std::string& Path() const { return path_; }

private:
    DynamicLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

} // namespace ad::platform
