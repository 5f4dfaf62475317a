// The contract between the engine and a renderer plugin library: the records, codes and object
// interfaces both sides compile against. Plugins include this header and nothing else of the engine.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace ad {

// ---- Library records -------------------------------------------------------------------------

inline constexpr const char* kAdLibraryVersion = "VER 2.0.0.001";
inline constexpr int kAdLibraryInfoSize = 1280;   // filled by "AdLibraryInformation"
inline constexpr int kAdLibraryTitleOffset = 0;   // length byte + up to 255 characters
inline constexpr int kAdLibraryVersionOffset = 768;
inline constexpr int kAdPropertyRecordSize = 196; // reported by "AdApplicationProperties"
inline constexpr int kAdPropertyNameOffset = 0;   // length byte + up to 64 characters
inline constexpr int kAdPropertyCaptionOffset = 65;
inline constexpr int kAdPropertyGroupOffset = 130;
inline constexpr int kAdPropertyTypeOffset = 195;
inline constexpr uint8_t kAdPropertyBoolean = 1;
inline constexpr uint8_t kAdPropertyHidden = 3;

// Writes a length-prefixed string (at most maxChars characters) into a record.
inline void AdWriteShortString(uint8_t* dst, const char* text, int maxChars = 255) {
    int n = static_cast<int>(std::strlen(text));
    if (n > maxChars) n = maxChars;
    dst[0] = static_cast<uint8_t>(n);
    std::memcpy(dst + 1, text, static_cast<size_t>(n));
}

// ---- Plain data ------------------------------------------------------------------------------

// Engine colour: red in the lowest byte, then green, blue, alpha.
struct AdColor {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const AdColor&, const AdColor&) = default;
};

// Right and bottom are exclusive.
struct AdRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const AdRect&, const AdRect&) = default;
};

// Row-vector convention: a point p is transformed as p x M; translation sits in m[3][0..2].
struct AdMatrix {
    float m[4][4] = {};

    static AdMatrix Identity() {
        AdMatrix r;
        for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
        return r;
    }
    static AdMatrix Translation(float x, float y, float z) {
        AdMatrix r = Identity();
        r.m[3][0] = x;
        r.m[3][1] = y;
        r.m[3][2] = z;
        return r;
    }
    static AdMatrix Scale(float x, float y, float z) {
        AdMatrix r;
        r.m[0][0] = x;
        r.m[1][1] = y;
        r.m[2][2] = z;
        r.m[3][3] = 1.0f;
        return r;
    }
    // Rotation about the z axis; positive angles turn clockwise on screen (y points down).
    static AdMatrix RotationZ(float radians) {
        AdMatrix r = Identity();
        const float c = std::cos(radians), s = std::sin(radians);
        r.m[0][0] = c;
        r.m[0][1] = s;
        r.m[1][0] = -s;
        r.m[1][1] = c;
        return r;
    }
    friend AdMatrix operator*(const AdMatrix& a, const AdMatrix& b) {
        AdMatrix r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                float s = 0.0f;
                for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
                r.m[i][j] = s;
            }
        return r;
    }
};

// Vertex layout of meshes: position, colour, normal, texture coordinate.
struct AdVertex {
    float x = 0, y = 0, z = 0;
    AdColor color{255, 255, 255, 255};
    float nx = 0, ny = 0, nz = -1;
    float u = 0, v = 0;
};

// The 2D scene both plugins set up for a surface of width x height pixels: the view is the
// identity and the projection maps x 0..width to -1..1, y 0..height to 1..-1 (y grows downwards)
// and z zNear..zFar to -1..1. Pixel (px, py) covers [px, px+1) x [py, py+1); its centre is at +0.5.
inline void AdSetup2DScene(int width, int height, double zNear, double zFar, AdMatrix& view,
                           AdMatrix& projection) {
    view = AdMatrix::Identity();
    projection = AdMatrix();
    const float w = width > 0 ? static_cast<float>(width) : 1.0f;
    const float h = height > 0 ? static_cast<float>(height) : 1.0f;
    const float depth = static_cast<float>(zFar - zNear);
    projection.m[0][0] = 2.0f / w;
    projection.m[1][1] = -2.0f / h;
    projection.m[2][2] = depth != 0.0f ? 2.0f / depth : 1.0f;
    projection.m[3][0] = -1.0f;
    projection.m[3][1] = 1.0f;
    projection.m[3][2] = depth != 0.0f ? static_cast<float>(-(zFar + zNear) / (zFar - zNear)) : 0.0f;
    projection.m[3][3] = 1.0f;
}

// ---- Codes -----------------------------------------------------------------------------------

// Blend modes of a mesh draw.
inline constexpr int kAdBlendAlpha = 0;    // src * a + dst * (1 - a): images, text
inline constexpr int kAdBlendAdd = 1;      // src * a + dst: glow (particles, halos)
inline constexpr int kAdBlendMultiply = 2; // src * dst (alpha of dst kept): shadows and tinting overlays

// Primitive type codes of a mesh draw.
inline constexpr int kAdPrimitiveTriangleStrip = 0;
inline constexpr int kAdPrimitiveTriangleFan = 1;
inline constexpr int kAdPrimitiveLineStrip = 2;
inline constexpr int kAdPrimitiveTriangles = 3; // indexed triangle list when indices are set
inline constexpr int kAdPrimitiveLines = 4;
inline constexpr int kAdPrimitiveLineLoop = 5;
inline constexpr int kAdPrimitivePoints = 6;

// Bits of the 16-bit option set of a surface.
inline constexpr uint16_t kAdOptionFrame = 1 << 0;     // the host is drawing a frame; no effect on drawing
inline constexpr uint16_t kAdOptionAlphaMask = 1 << 1; // texels of alpha 0 are discarded entirely
inline constexpr uint16_t kAdOptionLight = 1 << 2;     // the ambient colour's red, green and blue tint every draw
inline constexpr uint16_t kAdOptionStencil = 1 << 3;   // stencil test and stencil operations apply
inline constexpr uint16_t kAdOptionReserved5 = 1 << 5; // accepted, no effect
inline constexpr uint16_t kAdOptionReserved6 = 1 << 6; // accepted, no effect
inline constexpr uint16_t kAdOptionReserved8 = 1 << 8; // accepted, no effect

// Stencil comparison: a pixel passes when (reference & mask) <op> (stored & mask).
enum AdStencilFunction : int {
    kAdStencilNever = 0,
    kAdStencilLess = 1,
    kAdStencilLessEqual = 2,
    kAdStencilEqual = 3,
    kAdStencilGreaterEqual = 4,
    kAdStencilGreater = 5,
    kAdStencilAlways = 6,
    kAdStencilNotEqual = 7,
};

// When a stencil operation runs: the stencil test failed, it passed but depth failed, or all passed.
enum AdStencilEvent : int { kAdStencilOnFail = 0, kAdStencilOnDepthFail = 1, kAdStencilOnPass = 2 };

enum AdStencilOperation : int {
    kAdStencilKeep = 0,
    kAdStencilReplace = 1,
    kAdStencilZero = 2,
    kAdStencilIncrement = 3,
    kAdStencilDecrement = 4,
    kAdStencilInvert = 5,
};

// Layers of a clear.
inline constexpr int kAdClearColor = 1;
inline constexpr int kAdClearDepth = 2;
inline constexpr int kAdClearStencil = 4;

// Log entry types.
inline constexpr int kAdLogInfo = 0;
inline constexpr int kAdLogWarning = 1;
inline constexpr int kAdLogError = 2;
inline constexpr int kAdLogFatalError = 3;

using AdLogProc = void (*)(void* data, const char* sender, int type, const char* message);

// ---- Window frameworks -----------------------------------------------------------------------

inline constexpr const char* kAdFrameworkSdl = "sdl2";         // a desktop window
inline constexpr const char* kAdFrameworkHeadless = "headless"; // an off-screen frame in memory

// AdWindowFramework::DisplayRefreshRate of a framework whose frames are shown on no display.
inline constexpr int kAdNoDisplay = -1;

// What the host hands a plugin to draw into. The plugin asks for the identifier it supports.
class AdWindowFramework {
public:
    virtual ~AdWindowFramework() = default;
    virtual const char* Identifier() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The native window (an SDL_Window*) for "sdl2"; nullptr for "headless".
    virtual void* NativeWindow() const = 0;
    // Shows a finished frame held in memory (rows top to bottom, B G R A bytes per pixel).
    virtual void PresentPixels(const uint8_t* bgra, int width, int height) = 0;

    // Frame pacing. These come last and answer as a framework on no display unless overridden, so
    // that frameworks and plugins written before them still fit.
    // Asks the window system to hold each PresentPixels until the display's next refresh (true) or
    // to show frames at once (false); answers whether presented frames now wait for the display.
    virtual bool SetPresentVSync(bool wait) {
        (void)wait;
        return false;
    }
    // The refresh rate of the display the window shows on, in Hz; 0 when the display reports none,
    // kAdNoDisplay when frames are shown on no display.
    virtual int DisplayRefreshRate() const { return kAdNoDisplay; }
    // The host's millisecond clock (wrapping at 2^32) and its sleep. A plugin paces frames on these
    // alone, so a host that drives its own clock (a test) drives the pacing with it.
    virtual uint32_t Ticks() { return 0; }
    virtual void Sleep(uint32_t milliseconds) { (void)milliseconds; }
};

// ---- Plugin objects --------------------------------------------------------------------------

// A texture; pixels travel as rows top to bottom with B G R A bytes per pixel.
class AdTexture {
public:
    virtual ~AdTexture() = default;
    virtual int BaseWidth() const = 0;  // size of the loaded picture
    virtual int BaseHeight() const = 0;
    virtual int Width() const = 0;      // size of the texture as stored (equal here)
    virtual int Height() const = 0;
    virtual bool Loaded() const = 0;
    virtual uint8_t Settings() const = 0;
    virtual void SetSettings(uint8_t settings) = 0;
    // Copies the texture's pixels into dst (Width() * Height() * 4 bytes); false if not loaded.
    virtual bool ReadPixels(uint8_t* dst) const = 0;
    virtual void FlushTexture() = 0; // releases the pixels
};

class AdBitmapTexture : public AdTexture {
public:
    virtual void LoadFromBitmap(const uint8_t* bgra, int width, int height, int bitDepth) = 0;
};

class AdRenderTargetTexture : public AdTexture {
public:
    // Resizes the target (content undefined afterwards); it has its own depth and stencil.
    virtual void SetSize(int width, int height) = 0;
};

// A drawable batch of vertices; the engine fills it and draws it as a whole.
class AdMesh {
public:
    virtual ~AdMesh() = default;
    virtual void SetVertices(const AdVertex* vertices, int count) = 0; // copied
    virtual void SetIndices(const uint16_t* indices, int count) = 0;   // copied; 0 = none
    virtual void SetTexture(AdTexture* texture) = 0;                   // referenced, may be null
    virtual void SetMatrix(const AdMatrix& model) = 0;
    virtual void SetPrimitiveCount(int count) = 0;
    virtual void Update() = 0; // makes the arrays set since the last update current
    virtual void Draw(int blendMode, int primitiveType) = 0;
};

// Counts the pixels that pass every test between Start and Stop.
class AdOcclusionQuery {
public:
    virtual ~AdOcclusionQuery() = default;
    virtual void StartQuery() = 0;
    virtual void StopQuery() = 0;
    virtual uint32_t PixelCount() = 0;
};

// One named value set on the application before its initialisation.
struct AdPropertyValue {
    const char* name;
    const void* data;
    int size;
};

// The plugin's application object, in its slot order. Objects it creates are owned by the caller
// and must be destroyed before the application is finalised and the library unloaded.
class AdApplication {
public:
    virtual ~AdApplication() = default;
    virtual void SetViewPort(const AdRect& viewport) = 0;
    virtual void SetAmbientColor(AdColor color) = 0;
    virtual float TexelOffset() const = 0;
    virtual AdBitmapTexture* CreateBitmapTexture() = 0;
    virtual AdRenderTargetTexture* CreateRenderTarget() = 0;
    virtual AdMesh* CreateMesh() = 0;
    virtual AdOcclusionQuery* CreateOcclusionQuery() = 0;
    virtual void* CreateLight() = 0; // not used by the engine; nullptr
    virtual void SetRenderTarget(AdRenderTargetTexture* target) = 0; // nullptr: the screen
    virtual void SetProperties(int count, const AdPropertyValue* values) = 0;
    virtual void SetOptions(uint16_t options) = 0;
    virtual void SetStencilOptions(uint16_t reference, uint16_t mask, int function) = 0;
    virtual void SetStencilEvent(int event, int operation) = 0;
    virtual bool Initialize(AdWindowFramework* framework) = 0;
    virtual void Finalize() = 0;
    virtual void ClearSurface(const AdRect& rect, int layers, AdColor color, float depth,
                              int stencil) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void Flip() = 0;
    virtual void Setup2DScene(int width, int height, double zNear, double zFar) = 0;
    virtual void SetupFreeScene() = 0; // not used by the engine
    virtual void SetupManualScene(const AdMatrix& view, const AdMatrix& projection) = 0;
    virtual void GetScene(AdMatrix& view, AdMatrix& projection) const = 0;
    virtual bool SupportsWindowFramework(const char* identifier) const = 0;
    virtual void SetLogCallback(AdLogProc proc, void* data) = 0;
};

using AdPropertyProc = void (*)(void* data, const uint8_t* record);

// Exports of a plugin library, looked up by these names.
extern "C" {
using AdCreateApplicationFn = AdApplication* (*)();
using AdCreateShaderSystemFn = void* (*)();
using AdLibraryInformationFn = void (*)(uint8_t* record);
using AdApplicationPropertiesFn = void (*)(void* data, AdPropertyProc proc);
}

} // namespace ad
