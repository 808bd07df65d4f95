#include "cli/interrupt_guard.h"

#include <csignal>

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted.store(true);
}

} // namespace

CInterruptGuard::CInterruptGuard() {
    g_interrupted.store(false);
    m_int = std::signal(SIGINT, OnInterrupt);
    m_term = std::signal(SIGTERM, OnInterrupt);
}

CInterruptGuard::~CInterruptGuard() {
    std::signal(SIGINT, m_int);
    std::signal(SIGTERM, m_term);
}

const std::atomic<bool>& CInterruptGuard::Raised() const {
    return g_interrupted;
}
