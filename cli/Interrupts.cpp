#include "cli/Interrupts.h"

#include <csignal>

#include "run/RunControl.h"

namespace {

RunControl* volatile stopTarget = nullptr;
volatile std::sig_atomic_t caught = 0;

// Async-signal-safe: a store and RunControl::Stop, which is a lock-free atomic store.
void OnSignal(int number)
{
    if (caught == 0)
        caught = number;
    if (RunControl* control = stopTarget)
        control->Stop();
}

}  // namespace

void StopOnSignals(RunControl& control)
{
    static_assert(std::atomic<bool>::is_always_lock_free, "Stop() must be safe in a handler");
    stopTarget = &control;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the next signal of the same kind takes its default course.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void ForgetRunControl()
{
    // Blocked meanwhile, so that no handler runs between reading the pointer and using it.
    sigset_t both, previous;
    sigemptyset(&both);
    sigaddset(&both, SIGINT);
    sigaddset(&both, SIGTERM);
    sigprocmask(SIG_BLOCK, &both, &previous);
    stopTarget = nullptr;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

int CaughtSignal()
{
    return caught;
}
