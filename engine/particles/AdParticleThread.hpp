// The worker of a particle system: it moves the system's particles and writes their geometry while
// the main thread draws the previous result; the two meet at a hand-over guarded by a mutex.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/particles/AdParticleClasses.hpp"

namespace ad {

class TAdParticleCalculationThread {
public:
    // Starts the thread and, at once, a first calculation with time 0.
    TAdParticleCalculationThread(TAdParticleList* particles, TAdParticleClass particleClass);
    // Stops the thread (a running calculation is completed first) and joins it.
    ~TAdParticleCalculationThread();
    TAdParticleCalculationThread(const TAdParticleCalculationThread&) = delete;
    TAdParticleCalculationThread& operator=(const TAdParticleCalculationThread&) = delete;

    // The class of the system's template; its counts are the least room the buffers keep per particle.
    // Like the geometry, it may be changed only while no calculation runs.
    TAdParticleClass ParticleClass;

    // Starts a calculation moving every particle by `time` seconds; does nothing while one runs.
    void StartCalculation(double time);
    bool Started() const;
    bool Finished() const;
    // Blocks until no calculation runs (for tear-down and for tests; the frame never waits).
    void WaitForCalculation() const;
    // The worker polls with a yield instead of blocking on the hand-over.
    void SetNoSleep(bool noSleep);
    bool NoSleep() const;

    // The inputs and results. The main thread may touch them, and the particle list, only while no
    // calculation runs (Finished() true or Started() false).
    TAdParticleGeometry& Geometry() { return geometry_; }
    const TAdParticleGeometry& Geometry() const { return geometry_; }
    double Time() const;

private:
    void Run();
    void Calculate(double time);

    TAdParticleList* particles_;
    TAdParticleGeometry geometry_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool started_ = false;
    bool finished_ = false;
    bool stop_ = false;
    bool noSleep_ = false;
    double time_ = 0.0;
    std::thread thread_;
};

} // namespace ad
