// Loading a renderer plugin library and checking its information record; finding the compatible ones.
#include "engine/render/AdDLLLoader.hpp"

#include <array>

#include "engine/platform/Files.hpp"
#include "engine/platform/IsolatedRun.hpp"
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

namespace {

// The child's answer: one letter saying what it found, then the record or the loader's reason.
constexpr char kAnswerRecord = 'R';
constexpr char kAnswerNotLoadable = 'L';
constexpr char kAnswerNoInformation = 'N';

std::string ExamineInThisProcess(const std::string& path) {
    std::string error;
    auto library = platform::DynamicLibrary::Open(path, error);
    if (!library)
        return kAnswerNotLoadable + error;
    auto info = reinterpret_cast<AdLibraryInformationFn>(library->Symbol("AdLibraryInformation"));
    if (info == nullptr)
        return std::string(1, kAnswerNoInformation);
    std::array<uint8_t, kAdLibraryInfoSize> record{};
    info(record.data());
    return kAnswerRecord + std::string(reinterpret_cast<const char*>(record.data()), record.size());
}

} // namespace

bool TAdDLLExplorer::ReadInformation(const std::string& path, TAdLibraryInformation& information,
                                     std::string& problem, uint32_t timeoutMs) {
    const platform::IsolatedResult examined =
        platform::RunIsolated([&] { return ExamineInThisProcess(path); }, timeoutMs);
    const std::string& answer = examined.output;
    if (examined.outcome != platform::IsolatedOutcome::Finished) {
        problem = "it " + examined.failure + " while being loaded";
    } else if (answer.size() == 1 + kAdLibraryInfoSize && answer[0] == kAnswerRecord) {
        const auto* record = reinterpret_cast<const uint8_t*>(answer.data() + 1);
        information = {ReadShortString(record + kAdLibraryTitleOffset),
                       ReadShortString(record + kAdLibraryVersionOffset)};
        return true;
    } else if (!answer.empty() && answer[0] == kAnswerNotLoadable) {
        problem = "it cannot be loaded: " + answer.substr(1);
    } else if (answer == std::string(1, kAnswerNoInformation)) {
        problem = MessageText(kMsgInvalidPlugin);
    } else {
        problem = "it ended without reporting its information";
    }
    return false;
}

void TAdDLLExplorer::GetPlugins(std::vector<std::string>& list, const std::string& folder,
                                const std::string& extension, std::vector<std::string>* leftOut) {
    for (const std::string& name : platform::FindFiles(folder, "*AdPlugin*" + extension)) {
        TAdLibraryInformation information;
        std::string problem;
        if (ReadInformation(folder + name, information, problem) && information.Version != kAdLibraryVersion)
            problem = IncompatibleVersionMessage(name, information.Version, kAdLibraryVersion);
        if (problem.empty())
            list.push_back(information.Title + "=" + folder + name);
        else if (leftOut != nullptr)
            leftOut->push_back(folder + name + " is left out: " + problem);
    }
}

} // namespace ad
