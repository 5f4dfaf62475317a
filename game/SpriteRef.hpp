// Global references to sprites the engine owns. A reference is cleared when its sprite is freed, so a
// reference is either empty or points at a live sprite; "usable" adds that the sprite is not marked
// dead.
#pragma once

#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

class SpriteRefBase {
public:
    SpriteRefBase();
    ~SpriteRefBase();
    SpriteRefBase(const SpriteRefBase&) = delete;
    SpriteRefBase& operator=(const SpriteRefBase&) = delete;

    ad::TSprite* Raw() const { return sprite_; }
    // Set and not marked dead.
    bool Usable() const { return sprite_ != nullptr && !sprite_->Deaded(); }
    // Marks the sprite dead if the reference is usable (the engine frees it at the end of the frame).
    void Remove() const {
        if (Usable())
            sprite_->Dead();
    }
    void Reset() { sprite_ = nullptr; }

protected:
    ad::TSprite* sprite_ = nullptr;
};

template <typename T> class SpriteRef : public SpriteRefBase {
public:
    SpriteRef& operator=(T* sprite) {
        sprite_ = sprite;
        return *this;
    }
    T* get() const { return static_cast<T*>(sprite_); }
    T* operator->() const { return get(); }
    explicit operator bool() const { return sprite_ != nullptr; }
    bool operator==(const ad::TSprite* sprite) const { return sprite_ == sprite; }
};

// Clears every reference to the sprite; the game's sprite classes call it as they are freed.
void ForgetSprite(const ad::TSprite* sprite);
// Clears every reference (the engine and all its sprites are gone).
void ForgetAllSprites();

// The base of the game's sprite classes: an image sprite whose references are cleared when it is
// freed.
class TGameSprite : public ad::TImageSpriteEx {
public:
    explicit TGameSprite(ad::TSprite* parent) : TImageSpriteEx(parent) {}
    ~TGameSprite() override { ForgetSprite(this); }
};

} // namespace vimbo
