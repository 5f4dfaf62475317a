// The shader pair of the OpenGL renderer: window-space positions in, texel x vertex colour
// (x ambient) out.
#pragma once

#include <memory>
#include <string>

#include "plugins/opengl/GlHandle.hpp"

namespace ad::opengl {

// Attribute locations of the vertex layout.
inline constexpr GLuint kAttribPosition = 0; // window pixels, y down
inline constexpr GLuint kAttribTexel = 1;    // texture coordinates 0..1
inline constexpr GLuint kAttribColor = 2;    // normalised bytes

// The variants of the shader pair: features a draw does not need are left out of the fragment
// shader altogether, which keeps the common sprite draw on the driver's fastest path.
inline constexpr int kProgramTextured = 1;
inline constexpr int kProgramLit = 2;
inline constexpr int kProgramDiscard = 4; // drop fragments whose alpha is 0
// Multiply by the vertex colours; without it they are taken as opaque white, and a textured draw
// samples only, which software OpenGL runs on a much faster path.
inline constexpr int kProgramColored = 8;
inline constexpr int kProgramVariants = 16;

class GlProgram {
public:
    // Compiles and links the variant with the given kProgram flags; false with the compiler's
    // message in `error`.
    bool Build(const std::shared_ptr<GlContextToken>& token, int flags, std::string& error);
    void Release() { program_.Reset(); }

    GLuint Name() const { return program_.Name(); }
    GLint pixelToClip = -1, ambient = -1, texture = -1;

private:
    GlHandle program_;
};

} // namespace ad::opengl
