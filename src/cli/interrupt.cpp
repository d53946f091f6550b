#include "interrupt.h"

#include <csignal>

namespace vellumar::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

void stopOnInterrupt() {
    g_interrupted = 0;
    std::signal(SIGINT, onInterrupt);
}

bool interruptRequested() {
    return g_interrupted != 0;
}

} // namespace vellumar::cli
