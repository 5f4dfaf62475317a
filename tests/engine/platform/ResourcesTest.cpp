// Embedded resources: found by kind and name whatever the case, with the bytes of the file the
// build embedded, and a missing name reported as missing.
#include "engine/platform/Resources.hpp"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestPaths.hpp"

namespace {

using ad::platform::FindResource;
using ad::platform::ResourceKind;

std::vector<uint8_t> ReadFixture(const std::string& name) {
    std::ifstream file(vimbo::test::SourceFolder() + "tests/fixtures/resources/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Resources, AreFoundWhateverTheCaseOfTheName) {
    for (const char* name : {"Greeting", "greeting", "GREETING", "gReEtInG"}) {
        const auto* resource = FindResource(ResourceKind::RawData, name);
        ASSERT_NE(resource, nullptr) << name;
        EXPECT_EQ(resource->name, "Greeting") << name;
    }
}

TEST(Resources, HoldTheBytesOfTheEmbeddedFile) {
    const auto* text = FindResource(ResourceKind::RawData, "greeting");
    ASSERT_NE(text, nullptr);
    const std::vector<uint8_t> expected = ReadFixture("Greeting.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(std::vector<uint8_t>(text->bytes.begin(), text->bytes.end()), expected);

    const auto* bitmap = FindResource(ResourceKind::Bitmap, "probe");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bitmap->bytes.begin(), bitmap->bytes.end()), ReadFixture("Probe.bmp"));
}

TEST(Resources, OfOneKindAreNotFoundAsAnother) {
    EXPECT_EQ(FindResource(ResourceKind::Bitmap, "Greeting"), nullptr);
    EXPECT_EQ(FindResource(ResourceKind::Wave, "Probe"), nullptr);
    // The same name may be used once per kind, each its own entry.
    const auto* bitmap = FindResource(ResourceKind::Bitmap, "Probe");
    const auto* raw = FindResource(ResourceKind::RawData, "Probe");
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_NE(bitmap, raw);
    EXPECT_EQ(raw->kind, ResourceKind::RawData);
    EXPECT_EQ(bitmap->kind, ResourceKind::Bitmap);
}

TEST(Resources, MissingNamesAreReportedAsMissingNeverAsEmpty) {
    EXPECT_EQ(FindResource(ResourceKind::RawData, "NoSuchThing"), nullptr);
    EXPECT_EQ(FindResource(ResourceKind::RawData, ""), nullptr);
    EXPECT_EQ(FindResource(ResourceKind::RawData, "Greeting.txt"), nullptr); // names carry no extension
    try {
        ad::platform::LoadResource(ResourceKind::Wave, "whoosh");
        FAIL() << "a missing resource was returned";
    } catch (const ad::platform::EResourceNotFound& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("\"whoosh\""), std::string::npos) << message;
        EXPECT_NE(message.find("wave"), std::string::npos) << message;
    }
}

TEST(Resources, OfAStaticLibraryReachTheProgramThoughNothingReferencesThem) {
    // The engine library embeds the canvas face; this test refers to nothing else of that library.
    const auto* face = FindResource(ResourceKind::RawData, "dejavusans");
    ASSERT_NE(face, nullptr);
    ASSERT_GT(face->bytes.size(), 4u);
    EXPECT_EQ(face->bytes[0], 0); // a TrueType file starts with version 0x00010000
    EXPECT_EQ(face->bytes[1], 1);
}

TEST(Resources, RegisteredLaterKeepTheFirstEntryOfAName) {
    static const unsigned char other[] = {1, 2, 3};
    static const ad::platform::ResourceEntry entries[] = {
        {"GREETING", ResourceKind::RawData, other, other + sizeof other},
        {"Added", ResourceKind::Wave, other, other + sizeof other},
    };
    ad::platform::RegisterResources(entries, 2);
    EXPECT_NE(FindResource(ResourceKind::RawData, "greeting")->bytes.size(), sizeof other);
    ASSERT_NE(FindResource(ResourceKind::Wave, "added"), nullptr);
    EXPECT_EQ(FindResource(ResourceKind::Wave, "added")->bytes[2], 3);
}

} // namespace
