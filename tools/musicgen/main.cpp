// Composes, renders and encodes the seven music tracks into a folder (musicgen <folder> [--track N]).
// Deterministic: the same source writes the same bytes.
#include "tools/musicgen/Composer.hpp"
#include "tools/musicgen/Mp3Encoder.hpp"
#include "tools/musicgen/Renderer.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    using namespace vimbo::musicgen;
    if (argc < 2) {
        std::fprintf(stderr, "usage: musicgen <folder> [--track N]\n");
        return 2;
    }
    int onlyTrack = -1;
    for (int arg = 2; arg + 1 < argc; ++arg)
        if (std::string(argv[arg]) == "--track")
            onlyTrack = std::atoi(argv[arg + 1]);
    try {
        for (size_t index = 0; index < TrackStyles().size(); ++index) {
            if (onlyTrack >= 0 && static_cast<size_t>(onlyTrack) != index)
                continue;
            const TrackStyle& style = TrackStyles()[index];
            // Wall time only reports the build step's cost; it never reaches the output.
            const auto started = std::chrono::steady_clock::now();
            const Score score = Compose(style);
            const StereoMix mix = RenderTrack(score, style);
            const auto rendered = std::chrono::steady_clock::now();
            const std::vector<uint8_t> mp3 = EncodeMp3(mix, kMusicRate, kMp3Kbps);
            const std::string path = std::string(argv[1]) + "/" + style.name + ".mp3";
            std::ofstream file(path, std::ios::binary);
            file.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
            if (!file) {
                std::fprintf(stderr, "musicgen: cannot write %s\n", path.c_str());
                return 1;
            }
            const auto finished = std::chrono::steady_clock::now();
            std::printf("%s: %.1f s of music, %zu notes, %zu bytes; composed and rendered in %.2f s, encoded "
                        "in %.2f s\n",
                        style.name.c_str(), score.LengthSeconds(), score.events.size(), mp3.size(),
                        std::chrono::duration<double>(rendered - started).count(),
                        std::chrono::duration<double>(finished - rendered).count());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "musicgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
