#pragma once

#include <atomic>

// Ctrl+C (SIGINT) and a kill (SIGTERM) raise Raised() instead of ending finder-cli while the
// guard is alive, so that a plan or a watch can stop between two steps and say what it did.
// One guard at a time; the handlers before it come back when it goes.
class CInterruptGuard {
public:
    CInterruptGuard();
    ~CInterruptGuard();
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

    const std::atomic<bool>& Raised() const;

private:
    void (*m_int)(int);
    void (*m_term)(int);
};
