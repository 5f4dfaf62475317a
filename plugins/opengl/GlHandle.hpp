// Ownership of OpenGL object names: a name lives as long as its handle and as long as the context
// that made it; names of a context already destroyed are never deleted in a newer one.
#pragma once

#include <epoxy/gl.h>

#include <memory>
#include <utility>

namespace ad::opengl {

// Shared by every handle made in one context; cleared when that context is destroyed.
struct GlContextToken {
    bool alive = true;
};

enum class GlKind { Texture, Buffer, Framebuffer, Renderbuffer, VertexArray, Query, Program };

class GlHandle {
public:
    GlHandle() = default;
    GlHandle(GlKind kind, std::shared_ptr<GlContextToken> token) : kind_(kind), token_(std::move(token)) {
        if (!token_ || !token_->alive)
            return;
        switch (kind_) {
        case GlKind::Texture:
            glGenTextures(1, &name_);
            break;
        case GlKind::Buffer:
            glGenBuffers(1, &name_);
            break;
        case GlKind::Framebuffer:
            glGenFramebuffers(1, &name_);
            break;
        case GlKind::Renderbuffer:
            glGenRenderbuffers(1, &name_);
            break;
        case GlKind::VertexArray:
            glGenVertexArrays(1, &name_);
            break;
        case GlKind::Query:
            glGenQueries(1, &name_);
            break;
        case GlKind::Program:
            name_ = glCreateProgram();
            break;
        }
    }
    ~GlHandle() { Reset(); }
    GlHandle(const GlHandle&) = delete;
    GlHandle& operator=(const GlHandle&) = delete;
    GlHandle(GlHandle&& other) noexcept { *this = std::move(other); }
    GlHandle& operator=(GlHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            kind_ = other.kind_;
            name_ = std::exchange(other.name_, 0u);
            token_ = std::move(other.token_);
        }
        return *this;
    }

    // The name, or 0 when there is none or its context is gone.
    GLuint Name() const { return Valid() ? name_ : 0u; }
    bool Valid() const { return name_ != 0 && token_ && token_->alive; }

    void Reset() {
        if (Valid()) {
            switch (kind_) {
            case GlKind::Texture:
                glDeleteTextures(1, &name_);
                break;
            case GlKind::Buffer:
                glDeleteBuffers(1, &name_);
                break;
            case GlKind::Framebuffer:
                glDeleteFramebuffers(1, &name_);
                break;
            case GlKind::Renderbuffer:
                glDeleteRenderbuffers(1, &name_);
                break;
            case GlKind::VertexArray:
                glDeleteVertexArrays(1, &name_);
                break;
            case GlKind::Query:
                glDeleteQueries(1, &name_);
                break;
            case GlKind::Program:
                glDeleteProgram(name_);
                break;
            }
        }
        name_ = 0;
        token_.reset();
    }

private:
    GlKind kind_ = GlKind::Texture;
    GLuint name_ = 0;
    std::shared_ptr<GlContextToken> token_;
};

} // namespace ad::opengl
