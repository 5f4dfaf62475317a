// Loading a renderer plugin library and checking its information record; finding the compatible ones.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/DynamicLibrary.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

// The title and version a plugin library reports through "AdLibraryInformation".
struct TAdLibraryInformation {
    std::string Title;
    std::string Version;
};

// Reads a length-prefixed string from a record (length byte, then characters).
std::string ReadShortString(const uint8_t* record, int maxChars = 255);

// Has the library's "AdLibraryInformation" fill a fresh record and reads the title and version.
TAdLibraryInformation ReadLibraryInformation(AdLibraryInformationFn info);

class TAdDllLoader {
public:
    TAdDllLoader() = default;
    ~TAdDllLoader();

    // Frees any loaded library, then loads `fileName` and takes its exports. A file that does not
    // exist loads nothing. Raises EAdDllLoaderException when the file cannot be loaded as a library,
    // and EAdDllIncompatible (message 65310) without an information record or (message 65311) when
    // the version differs; the library is unloaded then.
    void LoadLibrary(const std::string& fileName);
    void UnloadLibrary();

    bool LibraryLoaded() const { return library_ != nullptr; }
    const TAdLibraryInformation& Information() const { return information_; }
    const std::string& FileName() const { return fileName_; }

    AdCreateApplicationFn CreateApplication = nullptr;
    AdCreateShaderSystemFn CreateShaderSystem = nullptr;
    AdLibraryInformationFn LibraryInformation = nullptr;
    AdApplicationPropertiesFn ApplicationProperties = nullptr;

private:
    std::unique_ptr<platform::DynamicLibrary> library_;
    std::string fileName_;
    TAdLibraryInformation information_;
};

// How long a candidate library may take to load and report its information record; loading takes
// milliseconds, so only a library that hangs comes near it.
inline constexpr uint32_t kAdPluginExamineTimeoutMs = 10000;

// Finds the plugin libraries in a folder that report the engine's version.
class TAdDLLExplorer {
public:
    // Appends "title=path" for each compatible library matching "*AdPlugin*" + extension in
    // `folder` (which ends with a separator), sorted by file name. Libraries that cannot be loaded,
    // have no information record, report another version, crash or hang are left out; `leftOut`
    // (when given) gets one line for each, naming it and saying why.
    static void GetPlugins(std::vector<std::string>& list, const std::string& folder,
                           const std::string& extension = ".so", std::vector<std::string>* leftOut = nullptr);

    // Reads a library's information in a child process, so that a library that crashes or hangs as
    // it loads or reports harms nothing; the library is never loaded into this process. False when
    // it is not a plugin, with the reason in `problem`.
    static bool ReadInformation(const std::string& path, TAdLibraryInformation& information,
                                std::string& problem, uint32_t timeoutMs = kAdPluginExamineTimeoutMs);
};

} // namespace ad
