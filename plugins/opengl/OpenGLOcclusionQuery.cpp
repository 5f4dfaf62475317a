// Sample counting of the OpenGL renderer on GL_SAMPLES_PASSED.
#include "plugins/opengl/OpenGLOcclusionQuery.hpp"

namespace ad::opengl {

OpenGLOcclusionQuery::~OpenGLOcclusionQuery() {
    device_->EndQuery(this);
}

void OpenGLOcclusionQuery::StartQuery() {
    count_ = 0;
    pending_ = false;
    if (!device_->Initialized())
        return;
    if (!query_.Valid())
        query_ = GlHandle(GlKind::Query, device_->Token());
    device_->BeginQuery(this, query_.Name());
    pending_ = device_->QueryActive(this);
}

void OpenGLOcclusionQuery::StopQuery() {
    device_->EndQuery(this);
}

void OpenGLOcclusionQuery::Collect() {
    if (!pending_ || !query_.Valid()) {
        pending_ = false;
        return;
    }
    GLuint samples = 0;
    glGetQueryObjectuiv(query_.Name(), GL_QUERY_RESULT, &samples);
    count_ += samples;
    pending_ = false;
}

uint32_t OpenGLOcclusionQuery::PixelCount() {
    if (device_->QueryActive(this)) {
        device_->EndQuery(this);
        Collect();
        device_->BeginQuery(this, query_.Name());
        pending_ = device_->QueryActive(this);
        return count_;
    }
    Collect();
    return count_;
}

} // namespace ad::opengl
