// The engine's user-facing messages, by their number in the program's string table.
#include "engine/render/AdMessages.hpp"

#include <map>

namespace ad {

const std::string& MessageText(int number) {
    static const std::map<int, std::string> texts = {
        {kMsgNoSurfaceInterface,
         "The engine's surface interface is not available. Try to use another graphic plugin. Try to "
         "install the newest video driver for your graphic board."},
        {kMsgNoLibraryLoaded,
         "No graphic library has been loaded. This problem might have been caused, because the specified "
         "library has not been found or the library version is not compatible to the host engine version. "
         "Use TAdSetupDlg or TAdDllExplorer to find all available graphic system plugins."},
        {kMsgNoApplication,
         "The TAdApplication inteface is not supported by the graphic plugin. This error should never "
         "occur, because TAdApplication is the main engine interface and has to be supported by every "
         "graphic plugin."},
        {kMsgNoWindowFramework,
         "No window framework that is supported by both, the parent control and the graphic plugin had "
         "been found. Try to use another graphic plugin or include other window frameworks."},
        {kMsgInitFailed,
         "The engine could not be initialized. This problem may have multiple reasons: Probably the graphic "
         "system used by the graphic plugin is not available on your computer. You may not have a "
         "3D-Graphic card. Try to install the newest graphic drivers. View the log entries created by the "
         "graphic plugin to get more information."},
        {kMsgInvalidPlugin, "The specified graphic plugin is not a valid engine plugin!"},
    };
    static const std::string empty;
    const auto it = texts.find(number);
    return it == texts.end() ? empty : it->second;
}

std::string IncompatibleVersionMessage(const std::string& fileName, const std::string& libraryVersion,
                                       const std::string& requiredVersion) {
    return "The version of the library (\"" + fileName + "\", \"" + libraryVersion +
           "\") is incompatible to the current version " + requiredVersion + ".";
}

std::string NoValidFormatMessage(const std::string& fileName) {
    return "No loader found to load the specified file \"" + fileName + "\".";
}

} // namespace ad
