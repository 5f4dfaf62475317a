// The engine log's line format and its whole-file rewrite after each entry.
#include "engine/render/AdLog.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/TestPaths.hpp"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AdLogFormat, PadsTypeAndSenderTo21Characters) {
    const std::string line = ad::TAdLog::FormatEntry({ad::TAdLogType::Info, "TAdDraw", "hello"});
    EXPECT_EQ(line, "[Info]               TAdDraw:             hello");
    EXPECT_EQ(line.substr(0, 21), "[Info]               ");
    EXPECT_EQ(line.substr(21, 21), "TAdDraw:             ");
}

TEST(AdLogFormat, NamesEveryTypeAndKeepsTwoSpacesAfterLongFields) {
    EXPECT_EQ(ad::TAdLog::FormatEntry({ad::TAdLogType::FatalError, "S", "m"}).substr(0, 21), "[Fatal Error]        ");
    EXPECT_EQ(ad::TAdLog::FormatEntry({ad::TAdLogType::Warning, "S", "m"}).substr(0, 10), "[Warning] ");
    EXPECT_EQ(ad::TAdLog::FormatEntry({ad::TAdLogType::Error, "S", "m"}).substr(0, 8), "[Error] ");
    // A sender of 20 characters plus the colon is longer than the field: two spaces follow anyway.
    const std::string sender(20, 'x');
    EXPECT_EQ(ad::TAdLog::FormatEntry({ad::TAdLogType::Info, sender, "m"}),
              "[Info]               " + sender + ":  m");
}

TEST(AdLogFile, IsRewrittenWholeAfterEachEntry) {
    const std::string folder = vimbo::test::MakeTempFolder("log");
    ad::TAdLog log(folder + "adlog.txt");
    log.AddEntry(ad::TAdLogType::Info, "A", "first");
    EXPECT_EQ(ReadFile(folder + "adlog.txt"), "[Info]               A:                   first\n");
    log.AddEntry(ad::TAdLogType::Error, "B", "second");
    EXPECT_EQ(ReadFile(folder + "adlog.txt"),
              "[Info]               A:                   first\n[Error]              B:                   second\n");
    std::filesystem::remove_all(folder);
}

TEST(AdLogFile, AFailedWriteTurnsSavingOffButKeepsTheEntries) {
    ad::TAdLog log("/nonexistent-folder-for-vimbo/adlog.txt");
    log.AddEntry(ad::TAdLogType::Info, "A", "kept");
    EXPECT_FALSE(log.SaveOnEntry);
    log.AddEntry(ad::TAdLogType::Info, "A", "also kept");
    EXPECT_EQ(log.Entries().size(), 2u);
}

} // namespace
