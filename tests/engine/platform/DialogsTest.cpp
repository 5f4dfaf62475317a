// Message boxes: the replaceable handler and the standard-error fallback without a display.
#include "engine/platform/Dialogs.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

using namespace ad::platform;

// Restores an environment variable on scope exit.
class EnvironmentOverride {
public:
    explicit EnvironmentOverride(const char* name) : name_(name) {
        if (const char* value = std::getenv(name))
            saved_ = value;
        unsetenv(name);
    }
    ~EnvironmentOverride() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { SetApplicationTitle("vimbo 2"); }
    void TearDown() override {
        SetMessageHandler(nullptr);
        SetApplicationTitle("");
    }
};

TEST_F(DialogsTest, HandlerReceivesTheApplicationTitleAsCaption) {
    std::string caption, text;
    SetMessageHandler([&](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    ShowMessage("error4");
    EXPECT_EQ(caption, "vimbo 2");
    EXPECT_EQ(text, "error4");
}

TEST_F(DialogsTest, WithoutHandlerOrDisplayTheMessageGoesToStandardError) {
    // With no display to reach, the message box cannot appear and must not block the test.
    EnvironmentOverride display("DISPLAY");
    EnvironmentOverride wayland("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    ShowMessage("error l_l 3");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "vimbo 2: error l_l 3\n");
}

} // namespace
