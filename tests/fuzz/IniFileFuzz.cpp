// Hostile "adsettings.ini" files: any bytes read without harm, the text the reader would write back
// reads again as the same text, and the start-up choices come out of it.
#include <fstream>
#include <string>

#include "engine/render/AdIniFile.hpp"
#include "engine/render/AdSetupSettings.hpp"
#include "tests/fuzz/FuzzTargets.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::fuzz {

namespace {

// The reader takes a file name, so every input goes through one file of this process.
const std::string& InputPath() {
    static const std::string path = test::MakeTempFolder("fuzz-ini") + ad::kAdSetupFileName;
    return path;
}

void WriteInput(const std::string& text) {
    std::ofstream(InputPath(), std::ios::binary | std::ios::trunc) << text;
}

} // namespace

void IniFile(const uint8_t* data, size_t size) {
    WriteInput(std::string(reinterpret_cast<const char*>(data), size));
    ad::TAdIniFile ini(InputPath());
    const ad::TAdSetupChoice choice = ad::ReadSetupChoice(ini);
    int width = 0, height = 0, depth = 0;
    if (ad::ParseResolution(choice.Resolution, width, height, depth))
        Expect(width > 0 && height > 0, "a resolution that reads has a size");

    const std::string text = ini.Text();
    WriteInput(text);
    const ad::TAdIniFile again(InputPath());
    Expect(again.Text() == text, "the written text reads back as itself");
    const ad::TAdSetupChoice choiceAgain = ad::ReadSetupChoice(again);
    Expect(choiceAgain.Resolution == choice.Resolution && choiceAgain.Plugin == choice.Plugin &&
               choiceAgain.Fullscreen == choice.Fullscreen &&
               choiceAgain.CurrentResolution == choice.CurrentResolution,
           "the choices survive a write");

    // The dialog stores its choices into what it read; they must read back as stored.
    ini.WriteString(ad::kAdSetupSection, "resolution", "800x600x16");
    ini.WriteBool(ad::kAdSetupSection, "fullscreen", true);
    Expect(ini.ReadString(ad::kAdSetupSection, "resolution", "") == "800x600x16",
           "a stored string reads back");
    Expect(ini.ReadBool(ad::kAdSetupSection, "fullscreen", false), "a stored switch reads back");
}

} // namespace vimbo::fuzz
