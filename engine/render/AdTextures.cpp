// Plugin textures held by the engine, and the image texture that survives a plugin restart.
#include "engine/render/AdTextures.hpp"

namespace ad {

namespace {
constexpr uint8_t kStreamEmpty = 0;
constexpr uint8_t kStreamTexture = 'T';
} // namespace

// ---- TAdCustomTexture ------------------------------------------------------------------------

TAdCustomTexture::TAdCustomTexture(TAdDraw* surface) : surface_(surface) {
    CreatePluginTexture();
}

void TAdCustomTexture::CreatePluginTexture() {
    texture_.reset();
    if (surface_ == nullptr || !surface_->CanDraw())
        return;
    texture_.reset(surface_->AppObject()->CreateBitmapTexture());
    if (texture_ != nullptr)
        texture_->SetSettings(settings_);
}

void TAdCustomTexture::SetSettings(uint8_t settings) {
    settings_ = settings;
    if (texture_ != nullptr)
        texture_->SetSettings(settings);
}

void TAdCustomTexture::LoadFromBitmap(const TAd2DBitmap& bitmap, uint8_t bitDepth) {
    bitDepth_ = bitDepth;
    if (texture_ != nullptr)
        texture_->LoadFromBitmap(bitmap.Data(), bitmap.Width(), bitmap.Height(), bitDepth);
}

bool TAdCustomTexture::SaveToBitmap(TAd2DBitmap& bitmap) const {
    if (!Loaded())
        return false;
    bitmap.SetSize(texture_->Width(), texture_->Height());
    return texture_->ReadPixels(bitmap.Data());
}

void TAdCustomTexture::Clear() {
    if (texture_ != nullptr)
        texture_->FlushTexture();
}

// ---- TAdTexture ------------------------------------------------------------------------------

TAdTexture::TAdTexture(TAdDraw* surface) : TAdCustomTexture(surface) {
    if (surface_ != nullptr)
        handlerId_ = surface_->SurfaceEventList.Add([this](TAdSurfaceEvent event) { OnSurfaceEvent(event); });
}

TAdTexture::~TAdTexture() {
    if (surface_ != nullptr)
        surface_->SurfaceEventList.Remove(handlerId_);
}

void TAdTexture::LoadGraphicFromFile(const std::string& fileName, bool transparent,
                                     uint32_t transparentColor) {
    TAdBitmap bitmap;
    bitmap.LoadFromFile(fileName);
    TAdTransparencyFilter filter{transparent, transparentColor};
    filter.Apply(bitmap);
    LoadFromBitmap(bitmap, 32);
}

void TAdTexture::LoadGraphicFromMemory(const std::string& fileName, std::span<const uint8_t> bytes,
                                       bool transparent, uint32_t transparentColor) {
    TAdBitmap bitmap;
    bitmap.LoadFromMemory(fileName, bytes);
    TAdTransparencyFilter filter{transparent, transparentColor};
    filter.Apply(bitmap);
    LoadFromBitmap(bitmap, 32);
}

void TAdTexture::LoadFromBitmap(const TAd2DBitmap& bitmap, uint8_t bitDepth) {
    TAdCustomTexture::LoadFromBitmap(bitmap, bitDepth);
    stream_.clear();
    if (texture_ == nullptr) {
        stream_.push_back(kStreamTexture);
        bitmap.SaveToStream(stream_);
        stream_.push_back(bitDepth);
    }
}

void TAdTexture::SaveToStream() {
    stream_.clear();
    TAd2DBitmap bitmap;
    if (!SaveToBitmap(bitmap)) {
        stream_.push_back(kStreamEmpty);
        return;
    }
    stream_.push_back(kStreamTexture);
    bitmap.SaveToStream(stream_);
    stream_.push_back(bitDepth_);
}

void TAdTexture::LoadFromStream() {
    std::vector<uint8_t> stream;
    stream.swap(stream_);
    if (stream.empty() || stream[0] != kStreamTexture || texture_ == nullptr) {
        if (texture_ == nullptr)
            stream.swap(stream_); // still nowhere to put the pixels
        return;
    }
    TAd2DBitmap bitmap;
    size_t offset = 1;
    if (!bitmap.LoadFromStream(stream, offset))
        return;
    const uint8_t bitDepth = offset < stream.size() ? stream[offset] : 32;
    TAdCustomTexture::LoadFromBitmap(bitmap, bitDepth);
}

void TAdTexture::OnSurfaceEvent(TAdSurfaceEvent event) {
    if (event == seFinalize) {
        // A texture that was never uploaded still has its pixels in the stream: keep them.
        if (texture_ != nullptr)
            SaveToStream();
        FreePluginTexture();
    } else if (event == seInitialize) {
        CreatePluginTexture();
        LoadFromStream();
    }
}

} // namespace ad
