// Loading a renderer plugin library and checking its information record; finding the compatible ones.
#include "engine/render/AdDLLLoader.hpp"

#include <array>

#include "engine/platform/Files.hpp"
#include "engine/render/AdMessages.hpp"

namespace ad {

std::string ReadShortString(const uint8_t* record, int maxChars) {
    int length = record[0];
    if (length > maxChars) length = maxChars;
    return std::string(reinterpret_cast<const char*>(record + 1), static_cast<size_t>(length));
}

TAdLibraryInformation ReadLibraryInformation(AdLibraryInformationFn info) {
    std::array<uint8_t, kAdLibraryInfoSize> record{};
    info(record.data());
    return {ReadShortString(record.data() + kAdLibraryTitleOffset),
            ReadShortString(record.data() + kAdLibraryVersionOffset)};
}

namespace {

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TAdDllLoader::~TAdDllLoader() { UnloadLibrary(); }

void TAdDllLoader::UnloadLibrary() {
    CreateApplication = nullptr;
    CreateShaderSystem = nullptr;
    LibraryInformation = nullptr;
    ApplicationProperties = nullptr;
    information_ = {};
    library_.reset();
    fileName_.clear();
}

void TAdDllLoader::LoadLibrary(const std::string& fileName) {
    UnloadLibrary();
    if (!platform::FileExists(fileName)) return;

    std::string error;
    auto library = platform::DynamicLibrary::Open(fileName, error);
    if (!library) throw EAdDllLoaderException("The graphic plugin \"" + fileName + "\" could not be loaded: " + error);

    auto info = reinterpret_cast<AdLibraryInformationFn>(library->Symbol("AdLibraryInformation"));
    // Without an information record nothing of the library can be trusted: it is not kept loaded.
    if (info == nullptr) throw EAdDllIncompatible(MessageText(kMsgInvalidPlugin));

    TAdLibraryInformation information = ReadLibraryInformation(info);
    if (information.Version != kAdLibraryVersion)
        throw EAdDllIncompatible(IncompatibleVersionMessage(BaseName(fileName), information.Version, kAdLibraryVersion));

    CreateApplication = reinterpret_cast<AdCreateApplicationFn>(library->Symbol("CreateApplication"));
    CreateShaderSystem = reinterpret_cast<AdCreateShaderSystemFn>(library->Symbol("CreateShaderSystem"));
    LibraryInformation = info;
    ApplicationProperties = reinterpret_cast<AdApplicationPropertiesFn>(library->Symbol("AdApplicationProperties"));
    information_ = std::move(information);
    library_ = std::move(library);
    fileName_ = fileName;
}

bool TAdDLLExplorer::ReadInformation(const std::string& path, TAdLibraryInformation& information) {
    std::string error;
    auto library = platform::DynamicLibrary::Open(path, error);
    if (!library) return false;
    auto info = reinterpret_cast<AdLibraryInformationFn>(library->Symbol("AdLibraryInformation"));
    if (info == nullptr) return false;
    information = ReadLibraryInformation(info);
    return true;
}

void TAdDLLExplorer::GetPlugins(std::vector<std::string>& list, const std::string& folder,
                                const std::string& extension) {
    for (const std::string& name : platform::FindFiles(folder, "*AdPlugin*" + extension)) {
        TAdLibraryInformation information;
        if (ReadInformation(folder + name, information) && information.Version == kAdLibraryVersion)
            list.push_back(information.Title + "=" + folder + name);
    }
}

} // namespace ad
