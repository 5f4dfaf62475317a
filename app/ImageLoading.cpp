// Loading of the game's images from the program's bitmap resources.
#include "app/ImageLoading.hpp"

#include "engine/platform/Resources.hpp"

namespace vimbo {

void LoadImageRes(ad::TAdImageList& list, const std::string& name, int32_t patternWidth,
                  int32_t patternHeight, bool transparent, uint32_t transparentColor) {
    const auto& resource = ad::platform::LoadResource(ad::platform::ResourceKind::Bitmap, name);
    LoadImageBitmap(list, name, resource.bytes, patternWidth, patternHeight, transparent, transparentColor);
}

void LoadImageBitmap(ad::TAdImageList& list, const std::string& name, std::span<const uint8_t> bytes,
                     int32_t patternWidth, int32_t patternHeight, bool transparent, uint32_t transparentColor) {
    ad::TAdImage* image = list.Add(name);
    image->Texture()->LoadGraphicFromMemory(name + ".bmp", bytes, transparent, transparentColor);
    image->SetPatternWidth(patternWidth);
    image->SetPatternHeight(patternHeight);
}

namespace {

struct CatalogueEntry {
    const char* name;
    int32_t patternWidth, patternHeight;
    bool transparent;
    uint32_t key;
};

constexpr int32_t kScreenSized = -1;

constexpr CatalogueEntry kCatalogue[] = {
    {"b3", 24, 24, true, kKeyWhite},
    {"player", 24, 24, true, kKeyBlack},
    {"Enemy", 24, 24, true, kKeyBlack},
    {"Hvost", 24, 24, true, kKeyBlack},
    {"vit1", 24, 24, true, kKeyBlack},
    {"vit2", 24, 24, true, kKeyBlack},
    {"wall", 24, 24, true, kKeyBlack},
    {"digital", 16, 16, true, kKeyBlack},
    {"level", 90, 16, true, kKeyBlack},
    {"Score", 90, 16, true, kKeyBlack},
    {"TopScore", 56, 14, true, kKeyBlack},
    {"lives", 90, 16, true, kKeyBlack},
    {"star", 72, 72, true, kKeyBlack},
    {"pause", 82, 20, false, kKeyBlack},
    {"scoreup", 64, 16, true, kKeyBlack},
    {"scoredown", 64, 16, true, kKeyBlack},
    {"newgame", 128, 20, true, kKeyBlack},
    {"continue", 128, 20, true, kKeyBlack},
    {"options", 112, 20, true, kKeyBlack},
    {"exit", 64, 20, true, kKeyBlack},
    {"menup", 160, 80, false, kKeyBlack},
    {"cursor", 18, 18, true, kKeyMagenta},
    {"kelvoranth", 1020, 84, true, kKeyBlack},
    {"gameover", 138, 14, true, kKeyBlack},
    {"gameover2", 274, 224, false, kKeyBlack},
    {"top", 56, 14, true, kKeyBlack},
    {"fon", kScreenSized, kScreenSized, true, kKeyWhite},
    {"fon2", kScreenSized, kScreenSized, true, kKeyBlack},
    {"music", 80, 20, true, kKeyBlack},
    {"back", 64, 20, true, kKeyBlack},
    {"easynormalhard", 96, 20, true, kKeyBlack},
    {"difficulty", 160, 20, true, kKeyBlack},
    {"onoff", 47, 20, true, kKeyBlack},
    {"sounds", 96, 20, true, kKeyBlack},
};

} // namespace

void LoadImageCatalogue(ad::TAdImageList& list, int32_t screenW, int32_t screenH) {
    for (const CatalogueEntry& e : kCatalogue) {
        const bool screenSized = e.patternWidth == kScreenSized;
        LoadImageRes(list, e.name, screenSized ? screenW : e.patternWidth,
                     screenSized ? screenH : e.patternHeight, e.transparent, e.key);
    }
}

} // namespace vimbo
