// Sources and building of the OpenGL renderer's shader pair.
#include "plugins/opengl/GlProgram.hpp"

#include <vector>

namespace ad::opengl {
namespace {

// Positions arrive in window pixels of the current target, row 0 at the top; uPixelToClip holds the
// scale (xy) and offset (zw) to clip space, which flips the rows for the window's framebuffer. Depth
// is flattened: a 2D renderer neither tests nor clips it.
constexpr const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aTexel;
layout(location = 2) in vec4 aColor;
uniform vec4 uPixelToClip;
out vec2 vTexel;
out vec4 vColor;
void main() {
    vTexel = aTexel;
    vColor = aColor;
    gl_Position = vec4(aPosition * uPixelToClip.xy + uPixelToClip.zw, 0.0, 1.0);
}
)";

// Nearest sampling picks texel floor(u * size) clamped to the edge, as the CPU renderer does. A
// product of two normalised bytes written to an 8-bit target rounds to round(a * b / 255), the CPU
// renderer's product; with three factors (ambient light) or interpolated colours the CPU renderer
// rounds in between, so those may land one step apart. A pixel centre lying exactly on a texel
// edge may pick either texel (so may the CPU renderer, depending on the triangle it falls in).
constexpr const char* kFragmentSource = R"(
in vec2 vTexel;
in vec4 vColor;
uniform sampler2D uTexture;
uniform vec4 uAmbient;
out vec4 fragColor;
void main() {
#if defined(COLORED) && defined(TEXTURED)
    vec4 c = vColor * texture(uTexture, vTexel);
#elif defined(TEXTURED)
    vec4 c = texture(uTexture, vTexel);
#elif defined(COLORED)
    vec4 c = vColor;
#else
    vec4 c = vec4(1.0);
#endif
#ifdef LIT
    c *= uAmbient;
#endif
#ifdef DISCARD
    if (c.a < 0.5 / 255.0) discard;
#endif
    fragColor = c;
}
)";

GLuint Compile(GLenum kind, const std::string& text, std::string& error) {
    const GLuint shader = glCreateShader(kind);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    error = std::string(kind == GL_VERTEX_SHADER ? "vertex" : "fragment") + " shader: " + log.data();
    glDeleteShader(shader);
    return 0;
}

} // namespace

bool GlProgram::Build(const std::shared_ptr<GlContextToken>& token, int flags, std::string& error) {
    Release();
    const GLuint vs = Compile(GL_VERTEX_SHADER, kVertexSource, error);
    if (vs == 0)
        return false;
    std::string fragment = "#version 330 core\n";
    if (flags & kProgramTextured)
        fragment += "#define TEXTURED\n";
    if (flags & kProgramLit)
        fragment += "#define LIT\n";
    if (flags & kProgramDiscard)
        fragment += "#define DISCARD\n";
    if (flags & kProgramColored)
        fragment += "#define COLORED\n";
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, fragment + kFragmentSource, error);
    if (fs == 0) {
        glDeleteShader(vs);
        return false;
    }
    program_ = GlHandle(GlKind::Program, token);
    const GLuint p = program_.Name();
    glAttachShader(p, vs);
    glAttachShader(p, fs);
    glLinkProgram(p);
    // The program keeps what it needs; the shader objects can go at once.
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(p, sizeof log, nullptr, log);
        error = std::string("shader link: ") + log;
        Release();
        return false;
    }
    pixelToClip = glGetUniformLocation(p, "uPixelToClip");
    ambient = glGetUniformLocation(p, "uAmbient");
    texture = glGetUniformLocation(p, "uTexture");
    return true;
}

} // namespace ad::opengl
