// Context lifecycle, state tracking, batching and presentation of the OpenGL renderer.
#include "plugins/opengl/OpenGLDevice.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace ad::opengl {
namespace {

constexpr size_t kInitialStreamVertices = 1 << 16;
// A batch larger than this is sent in parts, so the stream buffers stay of modest size.
constexpr size_t kMaxBatchVertices = 1 << 18;

GLenum StencilFunction(int function) {
    switch (function) {
    case kAdStencilNever:
        return GL_NEVER;
    case kAdStencilLess:
        return GL_LESS;
    case kAdStencilLessEqual:
        return GL_LEQUAL;
    case kAdStencilEqual:
        return GL_EQUAL;
    case kAdStencilGreaterEqual:
        return GL_GEQUAL;
    case kAdStencilGreater:
        return GL_GREATER;
    case kAdStencilNotEqual:
        return GL_NOTEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLenum StencilOperation(int operation) {
    switch (operation) {
    case kAdStencilReplace:
        return GL_REPLACE;
    case kAdStencilZero:
        return GL_ZERO;
    case kAdStencilIncrement:
        return GL_INCR;
    case kAdStencilDecrement:
        return GL_DECR;
    case kAdStencilInvert:
        return GL_INVERT;
    default:
        return GL_KEEP;
    }
}

// The CPU renderer's blend formulas: colour and alpha lines of each mode. Alpha blending of a
// colour whose alpha is 255 gives that colour (alpha 255 too) exactly, so such draws go unblended:
// the driver then skips reading the target and may drop what the draw covers completely.
void ApplyBlend(int blendMode, bool blends) {
    if (!blends) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    switch (blendMode) {
    case kAdBlendAdd:
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE);
        break;
    case kAdBlendMultiply:
        glBlendFuncSeparate(GL_DST_COLOR, GL_ZERO, GL_ZERO, GL_ONE);
        break;
    default:
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        break;
    }
}

// Allocates a stream buffer of `bytes` bytes, dropping the old storage.
void Orphan(GLenum target, size_t bytes) {
    glBufferData(target, static_cast<GLsizeiptr>(bytes), nullptr, GL_STREAM_DRAW);
}

void WriteStream(GLenum target, size_t offsetBytes, const void* data, size_t bytes) {
    void* dst = glMapBufferRange(target, static_cast<GLintptr>(offsetBytes), static_cast<GLsizeiptr>(bytes),
                                 GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (dst != nullptr) {
        std::memcpy(dst, data, bytes);
        glUnmapBuffer(target);
    } else {
        glBufferSubData(target, static_cast<GLintptr>(offsetBytes), static_cast<GLsizeiptr>(bytes), data);
    }
}

constexpr uint16_t kDrawingOptions = kAdOptionAlphaMask | kAdOptionLight | kAdOptionStencil;

} // namespace

bool OpenGLDevice::Initialize(SDL_Window* window, int width, int height, std::string& error) {
    Finalize();
    if (window == nullptr) {
        error = "the window framework has no native window";
        return false;
    }
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) == 0) {
        error = "the window was not created for OpenGL";
        return false;
    }
    // The context attributes are global to SDL; put back what the host had.
    int major = 0, minor = 0, profile = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    const std::string sdlError = SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile);
    if (context == nullptr) {
        error = "no OpenGL 3.3 core context could be made: " + sdlError;
        return false;
    }
    window_ = window;
    context_ = context;
    token_ = std::make_shared<GlContextToken>();
    SDL_GL_MakeCurrent(window_, context_);
    if (epoxy_gl_version() < 33) {
        error = "the OpenGL context offers version " + std::to_string(epoxy_gl_version() / 10) + "." +
                std::to_string(epoxy_gl_version() % 10) + ", 3.3 is needed";
        Finalize();
        return false;
    }
    SDL_GL_SetSwapInterval(0);
    // The tinted sprite variant is built now, so a driver that cannot compile it fails here.
    if (!programs_[kProgramTextured | kProgramColored].Build(token_, kProgramTextured | kProgramColored,
                                                             error)) {
        Finalize();
        return false;
    }
    // The screen is the window's own framebuffer when its size is the engine's; drawing there
    // saves a full-screen copy per frame. A window of another size (a scaled full-screen mode) gets
    // an off-screen surface that is scaled into it.
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    if (drawableWidth == width && drawableHeight == height) {
        screen_.BindToWindow(width, height);
    } else if (!screen_.Resize(token_, width, height)) {
        error = "the screen's framebuffer object is not complete";
        Finalize();
        return false;
    }

    vao_ = GlHandle(GlKind::VertexArray, token_);
    vertexBuffer_ = GlHandle(GlKind::Buffer, token_);
    indexBuffer_ = GlHandle(GlKind::Buffer, token_);
    glBindVertexArray(vao_.Name());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.Name());
    vertexCapacity_ = kInitialStreamVertices;
    Orphan(GL_ARRAY_BUFFER, vertexCapacity_ * sizeof(GlVertex));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_.Name());
    indexCapacity_ = kInitialStreamVertices * 2;
    Orphan(GL_ELEMENT_ARRAY_BUFFER, indexCapacity_ * sizeof(uint32_t));
    vertexUsed_ = indexUsed_ = 0;
    const auto stride = static_cast<GLsizei>(sizeof(GlVertex));
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, x)));
    glEnableVertexAttribArray(kAttribTexel);
    glVertexAttribPointer(kAttribTexel, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, s)));
    glEnableVertexAttribArray(kAttribColor);
    glVertexAttribPointer(kAttribColor, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, color)));

    viewport_ = AdRect{0, 0, width, height};
    AdSetup2DScene(width, height, 10.0, -100.0, view_, projection_);
    viewProjection_ = view_ * projection_;
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    description_ = std::string("OpenGL ") + (version != nullptr ? version : "?") + " on " +
                   (renderer != nullptr ? renderer : "?");
    return true;
}

bool OpenGLDevice::SetSwapWait(bool wait) {
    if (!Initialized())
        return false;
    SDL_GL_MakeCurrent(window_, context_);
    if (!wait) {
        SDL_GL_SetSwapInterval(0);
        return false;
    }
    if (SDL_GL_SetSwapInterval(-1) != 0 && SDL_GL_SetSwapInterval(1) != 0)
        return false;
    return SDL_GL_GetSwapInterval() != 0;
}

void OpenGLDevice::Finalize() {
    if (context_ == nullptr)
        return;
    SDL_GL_MakeCurrent(window_, context_);
    if (activeQuery_ != nullptr)
        glEndQuery(GL_SAMPLES_PASSED);
    activeQuery_ = nullptr;
    vertices_.clear();
    indices_.clear();
    for (GlProgram& program : programs_)
        program.Release();
    programError_.clear();
    vao_.Reset();
    vertexBuffer_.Reset();
    indexBuffer_.Reset();
    screen_.Release();
    token_->alive = false;
    token_.reset();
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    window_ = nullptr;
    target_ = nullptr;
    options_ = 0;
    ambient_ = AdColor{255, 255, 255, 255};
    stencil_ = StencilSettings{};
    windowStencil_ = 0;
    drawCalls_ = lastFrameDrawCalls_ = 0;
}

void OpenGLDevice::SetTarget(const GlSurface* target) {
    if (target == target_)
        return;
    Flush();
    target_ = target;
}

void OpenGLDevice::ForgetTarget(const GlSurface* target) {
    if (target_ != target)
        return;
    Flush();
    target_ = nullptr;
}

void OpenGLDevice::SetViewport(const AdRect& viewport) {
    if (viewport == viewport_)
        return;
    Flush();
    viewport_ = viewport;
}

// Vertices are transformed when a draw is batched, so a new scene needs no flush.
void OpenGLDevice::SetScene(const AdMatrix& view, const AdMatrix& projection) {
    view_ = view;
    projection_ = projection;
    viewProjection_ = view * projection;
}

void OpenGLDevice::SetAmbient(AdColor color) {
    // Light darkens or tints; it never makes anything transparent, so its alpha is not used.
    color.a = 255;
    if (color == ambient_)
        return;
    Flush();
    ambient_ = color;
}

void OpenGLDevice::SetOptions(uint16_t options) {
    if ((options & kDrawingOptions) != (options_ & kDrawingOptions))
        Flush();
    options_ = options;
}

void OpenGLDevice::SetStencilOptions(uint16_t reference, uint16_t mask, int function) {
    StencilSettings next = stencil_;
    // An 8-bit stencil buffer: the reference saturates and the mask keeps its low byte.
    next.reference = static_cast<uint8_t>(std::min<uint16_t>(reference, 255));
    next.mask = static_cast<uint8_t>(mask & 0xFF);
    next.function = function;
    if (next == stencil_)
        return;
    Flush();
    stencil_ = next;
}

void OpenGLDevice::SetStencilEvent(int event, int operation) {
    if (event < kAdStencilOnFail || event > kAdStencilOnPass || stencil_.operations[event] == operation)
        return;
    Flush();
    stencil_.operations[event] = operation;
}

ClipRect OpenGLDevice::Clip() const {
    const GlSurface& surface = CurrentSurface();
    return ClipRect{std::max(viewport_.left, 0), std::max(viewport_.top, 0),
                    std::min(viewport_.right, surface.Width()), std::min(viewport_.bottom, surface.Height())};
}

bool OpenGLDevice::BeginDraw(const TextureBinding& texture, int blendMode, DrawColors colors) {
    if (!Initialized() || !CurrentSurface().Valid() || Clip().Empty())
        return false;
    if (blendMode != kAdBlendAdd && blendMode != kAdBlendMultiply)
        blendMode = kAdBlendAlpha;
    // A keyed picture under opaque colours either replaces the target or leaves it as it is, so it
    // can drop its transparent fragments instead of blending, unless they must still mark the
    // stencil or be counted (the alpha mask would drop them anyway).
    const bool fragmentsFree = (options_ & kAdOptionAlphaMask) != 0 ||
                               ((options_ & kAdOptionStencil) == 0 && activeQuery_ == nullptr);
    const bool replaces = texture.name == 0 || texture.opaque || (texture.keyed && fragmentsFree);
    const bool blends = blendMode != kAdBlendAlpha || !colors.opaque || !replaces;
    if (!indices_.empty() && (texture.name != batchTexture_.name || blendMode != batchBlend_ ||
                              blends != batchBlends_ || colors.white != batchWhite_))
        Flush();
    batchTexture_ = texture;
    batchBlend_ = blendMode;
    batchBlends_ = blends;
    batchWhite_ = colors.white;
    return true;
}

uint32_t OpenGLDevice::ReserveVertices(size_t count) {
    if (vertices_.size() + count > kMaxBatchVertices && !indices_.empty())
        Flush();
    const size_t first = vertices_.size();
    vertices_.resize(first + count);
    return static_cast<uint32_t>(first);
}

void OpenGLDevice::ApplyTarget() {
    const GlSurface& surface = CurrentSurface();
    glBindFramebuffer(GL_FRAMEBUFFER, surface.Framebuffer());
    glViewport(0, 0, surface.Width(), surface.Height());
}

GlProgram* OpenGLDevice::Program() {
    int flags = 0;
    if (batchTexture_.name != 0)
        flags |= kProgramTextured;
    if (!batchWhite_)
        flags |= kProgramColored;
    // White light changes nothing, so it takes the unlit variant.
    if ((options_ & kAdOptionLight) != 0 && ambient_ != AdColor{255, 255, 255, 255})
        flags |= kProgramLit;
    // A fragment of alpha 0 leaves the colour unchanged in blend modes 0 and 1; it only matters
    // where it would mark the stencil, be counted, or darken through multiplication.
    const bool fragmentsMatter =
        (options_ & kAdOptionStencil) != 0 || activeQuery_ != nullptr || batchBlend_ == kAdBlendMultiply;
    if (((options_ & kAdOptionAlphaMask) != 0 && fragmentsMatter) || (!batchBlends_ && batchTexture_.keyed))
        flags |= kProgramDiscard;
    GlProgram& program = programs_[flags];
    if (program.Name() == 0 && programError_.empty())
        program.Build(token_, flags, programError_);
    return program.Name() != 0 ? &program : nullptr;
}

bool OpenGLDevice::ApplyState() {
    GlProgram* program = Program();
    if (program == nullptr)
        return false;
    // The window's framebuffer has no stencil buffer.
    if ((options_ & kAdOptionStencil) != 0 && target_ == nullptr && screen_.InWindow() &&
        !MoveScreenOffWindow())
        return false;
    ApplyTarget();
    const GlSurface& surface = CurrentSurface();
    const ClipRect clip = Clip();
    const GlRect scissor = SurfaceRect(surface, clip.left, clip.top, clip.right, clip.bottom);
    glEnable(GL_SCISSOR_TEST);
    glScissor(scissor.x, scissor.y, scissor.width, scissor.height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    ApplyBlend(batchBlend_, batchBlends_);
    if ((options_ & kAdOptionStencil) != 0) {
        glEnable(GL_STENCIL_TEST);
        glStencilMask(0xFF);
        glStencilFunc(StencilFunction(stencil_.function), stencil_.reference, stencil_.mask);
        glStencilOp(StencilOperation(stencil_.operations[kAdStencilOnFail]),
                    StencilOperation(stencil_.operations[kAdStencilOnDepthFail]),
                    StencilOperation(stencil_.operations[kAdStencilOnPass]));
    } else {
        glDisable(GL_STENCIL_TEST);
    }

    glUseProgram(program->Name());
    const float sx = 2.0f / static_cast<float>(surface.Width()),
                sy = 2.0f / static_cast<float>(surface.Height());
    if (surface.InWindow())
        glUniform4f(program->pixelToClip, sx, -sy, -1.0f, 1.0f);
    else
        glUniform4f(program->pixelToClip, sx, sy, -1.0f, -1.0f);
    glUniform4f(program->ambient, ambient_.r / 255.0f, ambient_.g / 255.0f, ambient_.b / 255.0f, 1.0f);
    glUniform1i(program->texture, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, batchTexture_.name);
    glBindVertexArray(vao_.Name());
    return true;
}

void OpenGLDevice::UploadBatch(GLint& baseVertex, size_t& indexOffset) {
    const size_t nv = vertices_.size(), ni = indices_.size();
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.Name());
    if (nv > vertexCapacity_ || ni > indexCapacity_ || vertexUsed_ + nv > vertexCapacity_ ||
        indexUsed_ + ni > indexCapacity_) {
        // Start over in fresh storage; the driver keeps the old one alive for draws still queued.
        vertexCapacity_ = std::max(vertexCapacity_, nv);
        indexCapacity_ = std::max(indexCapacity_, ni);
        Orphan(GL_ARRAY_BUFFER, vertexCapacity_ * sizeof(GlVertex));
        Orphan(GL_ELEMENT_ARRAY_BUFFER, indexCapacity_ * sizeof(uint32_t));
        vertexUsed_ = indexUsed_ = 0;
    }
    WriteStream(GL_ARRAY_BUFFER, vertexUsed_ * sizeof(GlVertex), vertices_.data(), nv * sizeof(GlVertex));
    WriteStream(GL_ELEMENT_ARRAY_BUFFER, indexUsed_ * sizeof(uint32_t), indices_.data(),
                ni * sizeof(uint32_t));
    baseVertex = static_cast<GLint>(vertexUsed_);
    indexOffset = indexUsed_ * sizeof(uint32_t);
    vertexUsed_ += nv;
    indexUsed_ += ni;
}

void OpenGLDevice::Flush() {
    if (indices_.empty() || !Initialized()) {
        vertices_.clear();
        indices_.clear();
        return;
    }
    if (!ApplyState()) {
        vertices_.clear();
        indices_.clear();
        return;
    }
    GLint baseVertex = 0;
    size_t indexOffset = 0;
    UploadBatch(baseVertex, indexOffset);
    glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT,
                             reinterpret_cast<const void*>(indexOffset), baseVertex);
    ++drawCalls_;
    vertices_.clear();
    indices_.clear();
}

void OpenGLDevice::Clear(const AdRect& rect, int layers, AdColor color, float depth, int stencil) {
    Flush();
    if (!Initialized() || !CurrentSurface().Valid())
        return;
    const GlSurface& surface = CurrentSurface();
    const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const int right = std::min(rect.right, surface.Width()), bottom = std::min(rect.bottom, surface.Height());
    if (left >= right || top >= bottom)
        return;
    GLbitfield bits = 0;
    if (layers & kAdClearColor)
        bits |= GL_COLOR_BUFFER_BIT;
    if (layers & kAdClearDepth)
        bits |= GL_DEPTH_BUFFER_BIT;
    if (layers & kAdClearStencil)
        bits |= GL_STENCIL_BUFFER_BIT;
    if (bits == 0)
        return;
    if (surface.InWindow() && (layers & kAdClearStencil))
        windowStencil_ = static_cast<uint8_t>(stencil & 0xFF); // for a move off the window
    ApplyTarget();
    const GlRect scissor = SurfaceRect(surface, left, top, right, bottom);
    glEnable(GL_SCISSOR_TEST);
    glScissor(scissor.x, scissor.y, scissor.width, scissor.height);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearColor(color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, color.a / 255.0f);
    glClearDepth(depth);
    glClearStencil(stencil & 0xFF);
    glClear(bits);
}

bool OpenGLDevice::MoveScreenOffWindow() {
    GlSurface surface;
    if (!surface.Resize(token_, screen_.Width(), screen_.Height()))
        return false;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, surface.Framebuffer());
    glDisable(GL_SCISSOR_TEST);
    const int w = screen_.Width(), h = screen_.Height();
    glBlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, surface.Framebuffer());
    glStencilMask(0xFF);
    glClearStencil(windowStencil_);
    glClear(GL_STENCIL_BUFFER_BIT);
    screen_ = std::move(surface);
    return true;
}

bool OpenGLDevice::ReadScreen(uint8_t* bgra) {
    Flush();
    if (!Initialized() || !screen_.Valid() || bgra == nullptr)
        return false;
    const int w = screen_.Width(), h = screen_.Height();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, screen_.Framebuffer());
    if (screen_.InWindow())
        glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    if (screen_.InWindow()) {
        const size_t row = static_cast<size_t>(w) * 4;
        std::vector<uint8_t> swap(row);
        for (int y = 0; y < h / 2; ++y) {
            uint8_t* top = bgra + row * static_cast<size_t>(y);
            uint8_t* bottom = bgra + row * static_cast<size_t>(h - 1 - y);
            std::memcpy(swap.data(), top, row);
            std::memcpy(top, bottom, row);
            std::memcpy(bottom, swap.data(), row);
        }
    }
    return true;
}

void OpenGLDevice::Present() {
    Flush();
    if (!Initialized() || !screen_.Valid())
        return;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    // A window resized behind the engine's back gets the frame scaled from now on.
    if (screen_.InWindow() && (width != screen_.Width() || height != screen_.Height()))
        MoveScreenOffWindow();
    if (screen_.InWindow()) {
        SDL_GL_SwapWindow(window_);
        lastFrameDrawCalls_ = drawCalls_;
        drawCalls_ = 0;
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, screen_.Framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    // Scaled to fit with its aspect kept, bars around it; the engine maps the mouse the same way.
    const int64_t sw = screen_.Width(), sh = screen_.Height();
    const bool barsAtSides = static_cast<int64_t>(width) * sh > static_cast<int64_t>(height) * sw;
    const int fitW = barsAtSides ? static_cast<int>(height * sw / sh) : width;
    const int fitH = barsAtSides ? height : static_cast<int>(width * sh / sw);
    const int left = (width - fitW) / 2, bottom = (height - fitH) / 2;
    // Every draw and clear sets the state it needs, so the bars' clear may set its own.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The screen surface keeps its top row first; the window's framebuffer has it last.
    glBlitFramebuffer(0, 0, screen_.Width(), screen_.Height(), left, bottom + fitH, left + fitW, bottom,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, screen_.Framebuffer());
    lastFrameDrawCalls_ = drawCalls_;
    drawCalls_ = 0;
}

void OpenGLDevice::BeginQuery(const void* owner, GLuint name) {
    Flush();
    if (!Initialized() || name == 0)
        return;
    if (activeQuery_ != nullptr)
        glEndQuery(GL_SAMPLES_PASSED);
    glBeginQuery(GL_SAMPLES_PASSED, name);
    activeQuery_ = owner;
}

void OpenGLDevice::EndQuery(const void* owner) {
    if (activeQuery_ != owner || owner == nullptr)
        return;
    Flush();
    glEndQuery(GL_SAMPLES_PASSED);
    activeQuery_ = nullptr;
}

void OpenGLDevice::BindTextureForTransfer(GLuint name) {
    Flush();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
}

} // namespace ad::opengl
