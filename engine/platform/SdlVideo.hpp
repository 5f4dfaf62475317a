// A counted hold on SDL's video subsystem that only succeeds when a real display can be reached.
#pragma once

#include <string>

namespace ad::platform {

// SDL counts initialisations, so video shuts down when the last holder lets go. SDL falls back to
// its off-screen drivers when no display is reachable; those count as no display unless they were
// asked for by name through SDL_VIDEODRIVER.
class SdlVideoReference {
public:
    SdlVideoReference() = default;
    ~SdlVideoReference();
    SdlVideoReference(const SdlVideoReference&) = delete;
    SdlVideoReference& operator=(const SdlVideoReference&) = delete;

    // True when video is up on a display; otherwise false with the reason in `error`.
    bool Acquire(std::string& error);
    bool Held() const { return held_; }

private:
    void Release();
    bool held_ = false;
};

} // namespace ad::platform
