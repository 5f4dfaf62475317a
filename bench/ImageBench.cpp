// Speed of image work: reading and keying a screen-sized bitmap, finding resources, drawing
// patterns and text through the software plugin.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <vector>

#include "engine/platform/Resources.hpp"
#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdCanvas.hpp"
#include "engine/render/AdImages.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

std::vector<uint8_t> ScreenBmp() {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 1920, 1080, 24, SDL_PIXELFORMAT_RGB24);
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    for (int i = 0; i < surface->pitch * surface->h; ++i)
        pixels[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> file(1920 * 1080 * 4 + 1024);
    SDL_RWops* rw = SDL_RWFromMem(file.data(), static_cast<int>(file.size()));
    SDL_SaveBMP_RW(surface, rw, 0);
    file.resize(static_cast<size_t>(SDL_RWtell(rw)));
    SDL_RWclose(rw);
    SDL_FreeSurface(surface);
    return file;
}

void BM_LoadScreenBitmapWithKey(benchmark::State& state) {
    const std::vector<uint8_t> file = ScreenBmp();
    for (auto _ : state) {
        ad::TAdBitmap bitmap;
        bitmap.LoadFromMemory("fon.bmp", file);
        ad::TAdTransparencyFilter{true, 0xFFFFFF}.Apply(bitmap);
        benchmark::DoNotOptimize(bitmap.Data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1920 * 1080 * 4);
}
BENCHMARK(BM_LoadScreenBitmapWithKey)->Unit(benchmark::kMillisecond);

void BM_FindResourceIgnoringCase(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ad::platform::FindResource(ad::platform::ResourceKind::RawData, "DEJAVUSANS"));
}
BENCHMARK(BM_FindResourceIgnoringCase);

void BM_DrawRotatedPatterns(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(800, 600);
    ad::TAdImageList list(s.draw.get());
    ad::TAdImage* image = list.Add("tile");
    ad::TAd2DBitmap bitmap(96, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 96; ++x)
            bitmap.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 2651 + y * 97));
    image->Texture()->LoadFromBitmap(bitmap, 32);
    image->SetPatternWidth(24);
    image->SetPatternHeight(24);
    image->Restore();
    int frame = 0;
    for (auto _ : state) {
        // A maze's worth of 24 x 24 patterns, each turned and faded.
        for (int i = 0; i < 1000; ++i)
            image->DrawRotateAlpha(s.draw.get(), (i * 24) % 768, (i / 32) * 24 % 600, 24, 24, i % 4, 0.5, 0.5,
                                   frame + i, 200);
        ++frame;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000);
}
BENCHMARK(BM_DrawRotatedPatterns)->Unit(benchmark::kMillisecond);

void BM_CanvasTextLine(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(800, 600);
    ad::TAdCanvas* canvas = s.draw->Canvas();
    for (auto _ : state) {
        canvas->TextOut(10, 10, "FPS: 60  objects: 1234  tail: 300 segments");
        canvas->Release();
    }
}
BENCHMARK(BM_CanvasTextLine)->Unit(benchmark::kMicrosecond);

void BM_GradientCircle(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(800, 600);
    ad::TAdCanvas* canvas = s.draw->Canvas();
    canvas->Pen.Style = 0;
    canvas->Brush.BlendMode = ad::kAdBlendAdd;
    for (auto _ : state) {
        canvas->Brush.SetColor(ad::Ad_ARGB(100, 255, 255, 255));
        canvas->Brush.SetGradientColor(ad::Ad_ARGB(0, 255, 255, 255));
        canvas->Circle(400, 300, static_cast<int32_t>(state.range(0)));
        canvas->Release();
    }
}
BENCHMARK(BM_GradientCircle)->Arg(30)->Arg(300)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
