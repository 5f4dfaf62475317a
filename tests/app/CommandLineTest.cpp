// The command line: what it does not know is refused with the usage before anything opens.
#include "app/CommandLine.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vimbo {
namespace {

int RunWith(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "vimbo2");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    return RunCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, WhatItDoesNotKnowEndsWithoutOpeningAnything) {
    EXPECT_EQ(RunWith({"--bogus"}), 2);
    EXPECT_EQ(RunWith({"--check"}), 2) << "a check of no recording";
    EXPECT_EQ(RunWith({"--replay"}), 2) << "a replay of no file";
    EXPECT_EQ(RunWith({"--replay", "a.vrp", "--replay", "b.vrp"}), 2);
    EXPECT_EQ(RunWith({"--replay", "/no/such/replay.vrp", "--check"}), 2) << "an unreadable recording";
}

} // namespace
} // namespace vimbo
