// Where the game keeps its files: beside itself in a build folder, in the player's folders when
// installed.
#include "app/ProgramFiles.hpp"

#include <filesystem>
#include <unistd.h>

#include "engine/platform/Files.hpp"
#include "engine/render/AdSetupSettings.hpp"

namespace vimbo {

namespace {

constexpr const char* kFolderName = "vimbo2";

// The music is read from "./music" in the working folder; a link there leads to the program's. A
// link that already leads there (whatever its text) is kept, so nothing is written needlessly; a
// changed one is made under another name and renamed into place.
void LinkMusic(const std::string& music, const std::string& link) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(music, error))
        return;
    const fs::file_status there = fs::symlink_status(link, error);
    if (fs::exists(there) && !fs::is_symlink(there))
        return; // the player's own music
    if (fs::is_symlink(there) && fs::equivalent(link, music, error))
        return;
    // Without the link the game plays on silently and says so, as with any missing track.
    const std::string fresh = link + ".new-link";
    fs::remove(fresh, error);
    fs::create_directory_symlink(music, fresh, error);
    if (!error)
        fs::rename(fresh, link, error);
    if (error)
        fs::remove(fresh, error);
}

} // namespace

ProgramPlace PrepareProgramFiles(const std::string& programFolder) {
    ProgramPlace place{FormFiles(programFolder), {}};
    FormFiles& files = place.files;
    if (!ad::platform::FileExists(programFolder + kInstalledMarkerName)) {
        // A build folder: the choices stay beside the program where they can be written.
        if (!ad::platform::FolderWritable(programFolder)) {
            const std::string config = ad::platform::UserConfigFolder(kFolderName);
            if (!config.empty())
                files.settings = config + ad::kAdSetupFileName;
        }
        return place;
    }
    const std::string config = ad::platform::UserConfigFolder(kFolderName);
    if (config.empty())
        files.keepSettings = false;
    else
        files.settings = config + ad::kAdSetupFileName;

    std::string problem;
    const std::string data = ad::platform::UserDataFolder(kFolderName, &problem);
    if (!data.empty() && ::chdir(data.c_str()) != 0)
        problem = "\"" + data +
                  "\" cannot be entered: " + std::error_code(errno, std::generic_category()).message();
    if (data.empty() || !problem.empty()) {
        place.problem = "The folder for the game's files cannot be used: " + problem +
                        ".\nThe game goes on, but this run's progress will not be kept.";
        files.save.clear();
        files.log.clear();
        files.dump.clear();
        files.replays.clear();
        return place;
    }
    LinkMusic(programFolder + "music", data + "music");
    return place;
}

} // namespace vimbo
