// Textures of the plugin as the engine holds them: a plugin bitmap texture with its bit depth and
// setting, and the image texture that keeps its pixels while the plugin is down.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

class TAdCustomTexture {
public:
    explicit TAdCustomTexture(TAdDraw* surface);
    virtual ~TAdCustomTexture() = default;
    TAdCustomTexture(const TAdCustomTexture&) = delete;
    TAdCustomTexture& operator=(const TAdCustomTexture&) = delete;

    TAdDraw* Surface() const { return surface_; }
    uint8_t BitDepth() const { return bitDepth_; }
    uint8_t Settings() const { return settings_; }
    // Handed to the plugin texture, now and whenever it is created again.
    void SetSettings(uint8_t settings);

    // The plugin's texture object; nullptr while the plugin is down.
    AdBitmapTexture* Texture() const { return texture_.get(); }
    bool Loaded() const { return texture_ != nullptr && texture_->Loaded(); }
    int BaseWidth() const { return texture_ != nullptr ? texture_->BaseWidth() : 0; }
    int BaseHeight() const { return texture_ != nullptr ? texture_->BaseHeight() : 0; }
    int Width() const { return texture_ != nullptr ? texture_->Width() : 0; }
    int Height() const { return texture_ != nullptr ? texture_->Height() : 0; }

    // Hands the pixels to the plugin texture; does nothing while there is none.
    virtual void LoadFromBitmap(const TAd2DBitmap& bitmap, uint8_t bitDepth);
    // Reads the texture's pixels back; false if nothing is loaded.
    bool SaveToBitmap(TAd2DBitmap& bitmap) const;
    void Clear();

protected:
    void CreatePluginTexture();
    void FreePluginTexture() { texture_.reset(); }

    TAdDraw* surface_;
    uint8_t bitDepth_ = 32;
    uint8_t settings_ = 0;
    std::unique_ptr<AdBitmapTexture> texture_;
};

// The texture of an image. On the surface's finalising event it saves its pixels into a memory
// stream and frees the plugin texture; on initialising it creates a new one and loads them back.
class TAdTexture : public TAdCustomTexture {
public:
    explicit TAdTexture(TAdDraw* surface);
    ~TAdTexture() override;

    // Reads the file through the registered formats (ENoValidFormat when none loads it), applies
    // the colour key and loads the result with bit depth 32.
    void LoadGraphicFromFile(const std::string& fileName, bool transparent, uint32_t transparentColor);
    // The same for a file held in memory; fileName selects the format by its extension.
    void LoadGraphicFromMemory(const std::string& fileName, std::span<const uint8_t> bytes, bool transparent,
                               uint32_t transparentColor);

    // Also keeps the pixels in the stream when the plugin is down, so they arrive at initialising.
    void LoadFromBitmap(const TAd2DBitmap& bitmap, uint8_t bitDepth) override;

    // Whether pixels are waiting in the stream for the plugin to come back.
    bool HoldsStream() const { return !stream_.empty(); }

private:
    void SaveToStream();
    void LoadFromStream();
    void OnSurfaceEvent(TAdSurfaceEvent event);

    std::vector<uint8_t> stream_;
    int handlerId_ = 0;
};

} // namespace ad
