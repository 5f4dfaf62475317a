// The engine's user-facing messages, by their number in the program's string table, and its exceptions.
#pragma once

#include <stdexcept>
#include <string>

namespace ad {

inline constexpr int kMsgNoSurfaceInterface = 65305;
inline constexpr int kMsgNoLibraryLoaded = 65306;
inline constexpr int kMsgNoApplication = 65307;
inline constexpr int kMsgNoWindowFramework = 65308;
inline constexpr int kMsgInitFailed = 65309;
inline constexpr int kMsgInvalidPlugin = 65310;
inline constexpr int kMsgIncompatibleVersion = 65311;
inline constexpr int kMsgNoValidFormat = 65302;

// The text of a fixed message (65302 and 65311 are formats: use the functions below).
const std::string& MessageText(int number);

// 65311 with the file name, the library's version and the required version.
std::string IncompatibleVersionMessage(const std::string& fileName, const std::string& libraryVersion,
                                       const std::string& requiredVersion);

// 65302 with the file name.
std::string NoValidFormatMessage(const std::string& fileName);

class EAdDllLoaderException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EAdDllIncompatible : public EAdDllLoaderException {
public:
    using EAdDllLoaderException::EAdDllLoaderException;
};

class EAdSurfaceException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace ad
