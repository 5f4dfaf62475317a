// The entry functions of the fuzzed readers of outside bytes: libFuzzer calls one per target, and
// the corpus test calls each with every file of its seed corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace vimbo::fuzz {

using FuzzEntry = void (*)(const uint8_t* data, size_t size);

// "save": parsed, and what it reads written and read again unchanged.
void SaveText(const uint8_t* data, size_t size);
// "adsettings.ini": read from a file, its text read again the same, the start-up choices taken.
void IniFile(const uint8_t* data, size_t size);
// A level map: split, filled into the grid with its junctions, then the block tiles and the enemy's
// path search over it.
void MapText(const uint8_t* data, size_t size);
// A bitmap file: decoded, keyed with each of the catalogue's colours, and loaded as an image of the
// list cut into patterns.
void Bitmap(const uint8_t* data, size_t size);
// A plugin's information record (the first 1280 bytes) followed by its option records (196 bytes
// each), handed over by a stand-in for the library's exports.
void PluginRecord(const uint8_t* data, size_t size);
// A replay file: read and checked, walked frame by frame, and written again from the walk.
void ReplayFile(const uint8_t* data, size_t size);

// Reports a broken expectation so that both libFuzzer and the corpus test see a crash.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz expectation broken: %s\n", what);
    std::abort();
}
inline void Expect(bool holds, const char* what) {
    if (!holds)
        Fail(what);
}

} // namespace vimbo::fuzz
