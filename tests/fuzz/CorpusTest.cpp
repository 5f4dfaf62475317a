// Runs every file of each fuzz target's seed corpus once through the target's entry function, so the
// ordinary test suite (any compiler, no fuzzer) keeps the readers and the corpora honest.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fuzz/FuzzTargets.hpp"

namespace {

struct CorpusCase {
    const char* corpus;
    vimbo::fuzz::FuzzEntry entry;
};

// Names the case by its corpus in the test list instead of by the bytes of the struct.
void PrintTo(const CorpusCase& corpusCase, std::ostream* os) {
    *os << corpusCase.corpus;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class SeedCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(SeedCorpus, EveryFileGoesThroughTheReaderCleanly) {
    const std::filesystem::path folder = std::filesystem::path(VIMBO_FUZZ_CORPUS) / GetParam().corpus;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 3u) << "a seed corpus starts from several real files";
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<uint8_t> bytes = ReadBytes(file);
        // The fuzzer hands over a buffer of exactly the input's size; so does this.
        const auto copy = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), copy.get());
        GetParam().entry(copy.get(), bytes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, SeedCorpus,
                         ::testing::Values(CorpusCase{"save", vimbo::fuzz::SaveText},
                                           CorpusCase{"ini", vimbo::fuzz::IniFile},
                                           CorpusCase{"map", vimbo::fuzz::MapText},
                                           CorpusCase{"bitmap", vimbo::fuzz::Bitmap},
                                           CorpusCase{"plugin_record", vimbo::fuzz::PluginRecord},
                                           CorpusCase{"replay", vimbo::fuzz::ReplayFile}),
                         [](const auto& info) { return std::string(info.param.corpus); });

} // namespace
