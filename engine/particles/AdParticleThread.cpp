// The particle worker's loop and its hand-over with the main thread.
#include "engine/particles/AdParticleThread.hpp"

#include <algorithm>

namespace ad {

TAdParticleCalculationThread::TAdParticleCalculationThread(TAdParticleList* particles,
                                                           TAdParticleClass particleClass)
    : ParticleClass(particleClass), particles_(particles) {
    StartCalculation(0.0);
    thread_ = std::thread([this] { Run(); });
}

TAdParticleCalculationThread::~TAdParticleCalculationThread() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TAdParticleCalculationThread::StartCalculation(double time) {
    {
        std::lock_guard lock(mutex_);
        if (started_)
            return;
        time_ = time;
        started_ = true;
        finished_ = false;
    }
    changed_.notify_all();
}

bool TAdParticleCalculationThread::Started() const {
    std::lock_guard lock(mutex_);
    return started_;
}

bool TAdParticleCalculationThread::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

double TAdParticleCalculationThread::Time() const {
    std::lock_guard lock(mutex_);
    return time_;
}

void TAdParticleCalculationThread::WaitForCalculation() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !started_; });
}

void TAdParticleCalculationThread::SetNoSleep(bool noSleep) {
    {
        std::lock_guard lock(mutex_);
        noSleep_ = noSleep;
    }
    changed_.notify_all();
}

bool TAdParticleCalculationThread::NoSleep() const {
    std::lock_guard lock(mutex_);
    return noSleep_;
}

void TAdParticleCalculationThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!started_ && !stop_) {
            if (noSleep_) {
                lock.unlock();
                std::this_thread::yield();
                lock.lock();
            } else {
                // Woken again when NoSleep is switched on, so the poll takes over.
                changed_.wait(lock);
            }
        }
        if (stop_)
            return;
        const double time = time_;
        lock.unlock();
        Calculate(time);
        lock.lock();
        finished_ = true;
        started_ = false;
        changed_.notify_all();
    }
}

void TAdParticleCalculationThread::Calculate(double time) {
    // Room is counted per particle, so a list holding particles of an earlier template class (the
    // template may change between hand-overs) never writes past the buffers.
    size_t vertices = 0, indices = 0;
    for (size_t i = 0; i < particles_->Count(); ++i) {
        const TAdParticle& particle = (*particles_)[i];
        vertices +=
            static_cast<size_t>(std::max(particle.VerticesPerParticle(), ParticleClass.VerticesPerParticle));
        indices +=
            static_cast<size_t>(std::max(particle.IndicesPerParticle(), ParticleClass.IndicesPerParticle));
    }
    vertices = std::min(vertices, static_cast<size_t>(kAdParticleMaxVertices));
    indices = std::min(indices, static_cast<size_t>(kAdParticleMaxVertices) * 3 / 2);
    geometry_.Reset(vertices, indices);
    for (size_t i = 0; i < particles_->Count(); ++i) {
        TAdParticle& particle = (*particles_)[i];
        particle.Move(time);
        particle.UpdateBounds(geometry_);
        particle.WriteGeometry(geometry_);
    }
    geometry_.FinishBounds();
}

} // namespace ad
