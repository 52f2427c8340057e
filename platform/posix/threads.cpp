// Threads over POSIX threads. The player thread asks for real-time
// scheduling; most systems refuse it to ordinary users, and then the thread
// runs at the normal priority instead.
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <new>

#include "platform/platform.h"

namespace platform {

struct Thread {
    pthread_t handle;
    void (*entry)(void*);
    void* argument;
};

namespace {

void* runThread(void* self) {
    auto* thread = static_cast<Thread*>(self);
    thread->entry(thread->argument);
    return nullptr;
}

// The highest real-time priority this process may take: the system's top,
// or the user's real-time limit where one is set below it (above 0; at 0
// only a privileged process gets real-time scheduling, and it may take any).
int highestRealtimePriority() {
    int priority = sched_get_priority_max(SCHED_FIFO);
#ifdef RLIMIT_RTPRIO
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur > 0 &&
        limit.rlim_cur < static_cast<rlim_t>(priority)) {
        priority = static_cast<int>(limit.rlim_cur);
    }
#endif
    return priority;
}

bool startRealtime(Thread* thread) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    sched_param parameters{};
    parameters.sched_priority = highestRealtimePriority();
    const bool ready = pthread_attr_setinheritsched(&attributes, PTHREAD_EXPLICIT_SCHED) == 0 &&
                       pthread_attr_setschedpolicy(&attributes, SCHED_FIFO) == 0 &&
                       pthread_attr_setschedparam(&attributes, &parameters) == 0;
    const bool started = ready && pthread_create(&thread->handle, &attributes, runThread, thread) == 0;
    pthread_attr_destroy(&attributes);
    return started;
}

}  // namespace

Thread* threadStart(void (*entry)(void*), void* argument) {
    auto* thread = new (std::nothrow) Thread{{}, entry, argument};
    if (thread == nullptr) return nullptr;
    if (startRealtime(thread)) return thread;
    if (pthread_create(&thread->handle, nullptr, runThread, thread) == 0) return thread;
    delete thread;
    return nullptr;
}

void threadJoin(Thread* thread) {
    pthread_join(thread->handle, nullptr);
    delete thread;
}

}  // namespace platform
