// Helpers shared by the CPU renderer's tests.
#include "tests/plugins/software/SoftwareTestScene.hpp"

#include <cstdio>
#include <cstring>

namespace vimbo::test {

bool SaveBmp(const std::string& path, const uint32_t* pixels, int width, int height) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const uint32_t imageSize = static_cast<uint32_t>(width) * height * 4;
    uint8_t header[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) { std::memcpy(header + at, &v, 4); };
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(-height)); // negative height: rows top to bottom
    header[26] = 1;
    header[28] = 32;
    put32(34, imageSize);
    const bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
                    std::fwrite(pixels, 1, imageSize, f) == imageSize;
    return std::fclose(f) == 0 && ok;
}

void SoftwareScene::SetUp() {
    ASSERT_TRUE(app.Initialize(&framework));
    app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
    Fill(0xFF000000u);
    mesh.reset(app.CreateMesh());
}

std::unique_ptr<ad::AdBitmapTexture> SoftwareScene::MakeTexture(int width, int height,
                                                                const std::vector<uint32_t>& texels) {
    std::unique_ptr<ad::AdBitmapTexture> texture(app.CreateBitmapTexture());
    texture->LoadFromBitmap(reinterpret_cast<const uint8_t*>(texels.data()), width, height, 32);
    return texture;
}

void SoftwareScene::DrawQuad(float left, float top, float right, float bottom, ad::AdTexture* texture,
                             ad::AdColor color, int blendMode, float u0, float v0, float u1, float v1) {
    DrawVertices({Vertex(left, top, color, u0, v0), Vertex(right, top, color, u1, v0),
                  Vertex(left, bottom, color, u0, v1), Vertex(right, bottom, color, u1, v1)},
                 ad::kAdPrimitiveTriangleStrip, 2, texture, {}, blendMode);
}

void SoftwareScene::DrawVertices(const std::vector<ad::AdVertex>& vertices, int primitiveType,
                                 int primitiveCount, ad::AdTexture* texture,
                                 const std::vector<uint16_t>& indices, int blendMode) {
    mesh->SetVertices(vertices.data(), static_cast<int>(vertices.size()));
    mesh->SetIndices(indices.empty() ? nullptr : indices.data(), static_cast<int>(indices.size()));
    mesh->SetTexture(texture);
    mesh->SetPrimitiveCount(primitiveCount);
    mesh->Update();
    mesh->Draw(blendMode, primitiveType);
}

void SoftwareScene::Fill(uint32_t color) {
    app.ClearSurface(ad::AdRect{0, 0, 1 << 20, 1 << 20},
                     ad::kAdClearColor | ad::kAdClearDepth | ad::kAdClearStencil,
                     ad::AdColor{static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                                 static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 24)},
                     1.0f, 0);
}

std::string SoftwareScene::Picture(int left, int top, int right, int bottom, uint32_t ink) const {
    std::string out;
    for (int y = top; y < bottom; ++y) {
        if (y > top)
            out += '\n';
        for (int x = left; x < right; ++x)
            out += Pixel(x, y) == ink ? '*' : '.';
    }
    return out;
}

int SoftwareScene::CountPixels(uint32_t color) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            n += Pixel(x, y) == color;
    return n;
}

} // namespace vimbo::test
