// The real program as a player meets it, on a virtual display of the test's own: closing the
// terminal (SIGHUP) saves and ends the game as closing its window does, a polite signal ends the game
// even while a message box is up, a box never outlives the game, and a box fits the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/TestPaths.hpp"
#include "tests/support/VirtualDisplay.hpp"

namespace {

using vimbo::test::ShownWindow;
using vimbo::test::VirtualDisplay;

// Far beyond what starting or ending the game takes on a loaded machine (or under the sanitizers).
constexpr int kLimitSeconds = 60;
constexpr int kSetupDialogWidth = 320;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool IsBox(const ShownWindow& window) {
    return !window.hasClass;
}

bool IsSetupDialog(const ShownWindow& window) {
    return window.hasClass && window.width == kSetupDialogWidth;
}

bool IsGameWindow(const ShownWindow& window) {
    return window.hasClass && window.width != kSetupDialogWidth;
}

// The process ids whose parent is this process.
std::vector<pid_t> Children() {
    std::vector<pid_t> children;
    const std::string me = std::to_string(::getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream status(entry.path() / "status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("PPid:", 0) == 0) {
                if (line.substr(line.find_first_not_of(" \t", 5)) == me)
                    children.push_back(static_cast<pid_t>(std::stol(name)));
                break;
            }
    }
    return children;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display_.Available())
            GTEST_SKIP() << display_.Problem();
        // Whatever the game leaves behind when it ends becomes this process's child, to be counted.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        program_ = vimbo::test::MakeTempFolder("program");
        work_ = vimbo::test::MakeTempFolder("program-work");
        // A program folder of the test's own, so that the setup's choices land there: the game
        // beside its box program and the software renderer.
        const std::string built = vimbo::test::ProgramFolder();
        std::filesystem::copy_file(built + "vimbo2", program_ + "vimbo2");
        for (const char* name : {"admessagebox", "SoftwareAdPlugin.so"})
            std::filesystem::create_symlink(built + name, program_ + name);
    }

    void TearDown() override {
        if (!display_.Available())
            return;
        if (game_ > 0 && ::kill(game_, SIGKILL) == 0)
            Reap(game_);
        for (const pid_t left : LeftBehind()) {
            ::kill(left, SIGKILL);
            Reap(left);
        }
        ::prctl(PR_SET_CHILD_SUBREAPER, 0);
        std::filesystem::remove_all(program_);
        std::filesystem::remove_all(work_);
    }

    // Starts the game in the working folder, on the test's display or on `on`.
    void Start(const VirtualDisplay* on = nullptr) {
        game_ = ::fork();
        if (game_ == 0) {
            ::chdir(work_.c_str());
            ::setenv("DISPLAY", (on != nullptr ? on : &display_)->Name().c_str(), 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            // In a sanitized build the game's own leaks are the in-process tests' to find. Here the
            // system's GL driver, loaded for the setup window and unloaded before the end, leaves
            // blocks whose allocating code is no longer mapped when the leak checker looks, so no
            // suppression can name the library, and the game's exit status would be the checker's.
            const char* given = std::getenv("LSAN_OPTIONS");
            const std::string leakOptions =
                (given != nullptr ? std::string(given) + ":" : "") + "detect_leaks=0";
            ::setenv("LSAN_OPTIONS", leakOptions.c_str(), 1);
            const int out = ::open((work_ + "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
            ::execl((program_ + "vimbo2").c_str(), "vimbo2", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    // Presses Enter on the setup dialog until it answers, and waits for the game's window.
    bool PlayPastTheSetup() {
        ShownWindow dialog, game;
        if (!display_.WaitForWindow("vimbo 2", IsSetupDialog, dialog, kLimitSeconds))
            return false;
        // A key sent before the dialog takes keys is lost: it is pressed again until it answers.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kLimitSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            display_.PressKey(dialog, "Return");
            if (display_.WaitForWindow("vimbo 2", IsGameWindow, game, 2))
                return true;
        }
        return false;
    }

    // Waits for the game to end; its wait status, or -1 when it still runs at the limit.
    int WaitForEnd() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kLimitSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(game_, &status, WNOHANG) == game_) {
                game_ = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    // What is still running of the game's processes once it has ended (they came to this process
    // when their parent died), waiting up to the limit for them to go; Xvfb is not theirs.
    std::vector<pid_t> LeftBehind() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kLimitSeconds);
        for (;;) {
            while (::waitpid(-1, nullptr, WNOHANG) > 0) {
            }
            std::vector<pid_t> left;
            for (const pid_t child : Children())
                if (child != game_ && std::find(servers_.begin(), servers_.end(), child) == servers_.end())
                    left.push_back(child);
            if (left.empty() || std::chrono::steady_clock::now() >= deadline)
                return left;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    static void Reap(pid_t pid) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

    std::string Output() const { return ReadFile(work_ + "out.txt"); }

    VirtualDisplay display_{1280, 1024};
    // The displays' servers: this test's own children, not the game's.
    std::vector<pid_t> servers_{display_.Server()};
    std::string program_;
    std::string work_;
    pid_t game_ = -1;
};

TEST_F(ProgramTest, ClosingTheTerminalSavesAndEndsTheGameLikeClosingItsWindow) {
    Start();
    ASSERT_TRUE(PlayPastTheSetup()) << Output();
    ::kill(game_, SIGHUP);
    const int status = WaitForEnd();
    ASSERT_NE(status, -1) << "the game did not end";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status << "\n"
                                                               << Output();
    EXPECT_EQ(ReadFile(work_ + "save"), "0\r\n3\r\n0\r\n1\r\n1\r\n2\r\n") << "a first run's values, saved";
}

TEST_F(ProgramTest, APoliteSignalEndsTheGameAndItsMessageBox) {
    // A folder where the save should be: the game says so in a box before anything else.
    std::filesystem::create_directory(work_ + "save");
    Start();
    ShownWindow box;
    ASSERT_TRUE(display_.WaitForWindow("vimbo 2", IsBox, box, kLimitSeconds)) << Output();
    ::kill(game_, SIGTERM);
    const int status = WaitForEnd();
    ASSERT_NE(status, -1) << "the game did not end while its box was up";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_TRUE(LeftBehind().empty()) << "the box's processes outlived the game";
    EXPECT_TRUE(display_.WaitUntilNoWindow("vimbo 2", IsBox, kLimitSeconds)) << "the box is still shown";
    EXPECT_TRUE(std::filesystem::is_directory(work_ + "save"));
}

TEST_F(ProgramTest, AMessageBoxGoesAwayWithAGameThatIsKilled) {
    std::filesystem::create_directory(work_ + "save");
    Start();
    ShownWindow box;
    ASSERT_TRUE(display_.WaitForWindow("vimbo 2", IsBox, box, kLimitSeconds)) << Output();
    ::kill(game_, SIGKILL);
    ASSERT_NE(WaitForEnd(), -1);
    EXPECT_TRUE(LeftBehind().empty()) << "the box's processes outlived the game";
    EXPECT_TRUE(display_.WaitUntilNoWindow("vimbo 2", IsBox, kLimitSeconds)) << "the box is still shown";
}

TEST_F(ProgramTest, AMessageBoxFitsTheScreen) {
    // A screen far narrower than the box's longest line unwrapped (over a hundred characters of a font
    // about seven pixels wide).
    VirtualDisplay small(400, 300);
    ASSERT_TRUE(small.Available()) << small.Problem();
    servers_.push_back(small.Server());
    std::filesystem::create_directory(work_ + "save");
    Start(&small);
    ShownWindow box;
    ASSERT_TRUE(small.WaitForWindow("vimbo 2", IsBox, box, kLimitSeconds)) << Output();
    EXPECT_LE(box.width, 400) << "the box is wider than the screen";
    ::kill(game_, SIGTERM);
    EXPECT_NE(WaitForEnd(), -1);
}

} // namespace
