// The allocator and lock replacements that feed the real-time watch.
//
// In a plain build the executable defines malloc and its relatives on top of
// the C library's own entry points, and the pthread lock functions on top of
// the next definition in symbol lookup. Under AddressSanitizer or
// ThreadSanitizer the sanitizer owns the allocator, so allocations are seen
// through its malloc and free hooks instead.
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <semaphore.h>

#include <cstddef>

#include "tools/validate/RealtimeWatch.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VALIDATE_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VALIDATE_SANITIZER_ALLOCATOR 1
#endif
#endif

// The project builds with hidden symbols; these must be seen by every library.
#define INTERPOSED __attribute__((visibility("default")))

using validate::RealtimeEvent;
using validate::reportRealtimeEvent;

#if defined(VALIDATE_SANITIZER_ALLOCATOR)

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {

void onSanitizerMalloc(const volatile void*, std::size_t) { reportRealtimeEvent(RealtimeEvent::Allocation); }
void onSanitizerFree(const volatile void* pointer) {
    if (pointer) reportRealtimeEvent(RealtimeEvent::Release);
}

__attribute__((constructor)) void installSanitizerHooks() {
    if (__sanitizer_install_malloc_and_free_hooks(onSanitizerMalloc, onSanitizerFree) != 0) {
        validate::markRealtimeWatchInstalled("sanitizer allocator hooks and pthread lock interposition");
    }
}

}  // namespace

#else

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* __libc_valloc(std::size_t size);
void* __libc_pvalloc(std::size_t size);
void __libc_free(void* pointer);

INTERPOSED void* malloc(std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_malloc(size);
}

INTERPOSED void* calloc(std::size_t count, std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_calloc(count, size);
}

INTERPOSED void* realloc(void* pointer, std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_realloc(pointer, size);
}

INTERPOSED void free(void* pointer) {
    if (pointer) reportRealtimeEvent(RealtimeEvent::Release);
    __libc_free(pointer);
}

INTERPOSED void* memalign(std::size_t alignment, std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_memalign(alignment, size);
}

INTERPOSED void* aligned_alloc(std::size_t alignment, std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_memalign(alignment, size);
}

INTERPOSED int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    const bool powerOfTwo = alignment != 0 && (alignment & (alignment - 1)) == 0;
    if (!powerOfTwo || alignment % sizeof(void*) != 0) return EINVAL;
    void* pointer = __libc_memalign(alignment, size);
    if (!pointer) return ENOMEM;
    *result = pointer;
    return 0;
}

INTERPOSED void* valloc(std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_valloc(size);
}

INTERPOSED void* pvalloc(std::size_t size) {
    reportRealtimeEvent(RealtimeEvent::Allocation);
    return __libc_pvalloc(size);
}
}  // extern "C"

namespace {

__attribute__((constructor)) void markAllocatorInterposed() {
    validate::markRealtimeWatchInstalled("allocator and pthread lock interposition");
}

}  // namespace

#endif

// Lock functions: each forwards to the definition that follows the
// executable's, found once and kept.
namespace {

template <typename Function>
Function nextDefinition(const char* name, Function& cache) {
    Function found = __atomic_load_n(&cache, __ATOMIC_ACQUIRE);
    if (!found) {
        found = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        __atomic_store_n(&cache, found, __ATOMIC_RELEASE);
    }
    return found;
}

using MutexFunction = int (*)(pthread_mutex_t*);
using TimedMutexFunction = int (*)(pthread_mutex_t*, const struct timespec*);
using RwlockFunction = int (*)(pthread_rwlock_t*);
using SpinFunction = int (*)(pthread_spinlock_t*);
using SemaphoreFunction = int (*)(sem_t*);

MutexFunction nextMutexLock;
MutexFunction nextMutexTrylock;
TimedMutexFunction nextMutexTimedlock;
RwlockFunction nextRwlockRdlock;
RwlockFunction nextRwlockWrlock;
SpinFunction nextSpinLock;
SemaphoreFunction nextSemWait;

}  // namespace

extern "C" {

INTERPOSED int pthread_mutex_lock(pthread_mutex_t* mutex) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_mutex_lock", nextMutexLock)(mutex);
}

INTERPOSED int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_mutex_trylock", nextMutexTrylock)(mutex);
}

INTERPOSED int pthread_mutex_timedlock(pthread_mutex_t* mutex, const struct timespec* deadline) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_mutex_timedlock", nextMutexTimedlock)(mutex, deadline);
}

INTERPOSED int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_rwlock_rdlock", nextRwlockRdlock)(lock);
}

INTERPOSED int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_rwlock_wrlock", nextRwlockWrlock)(lock);
}

INTERPOSED int pthread_spin_lock(pthread_spinlock_t* lock) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("pthread_spin_lock", nextSpinLock)(lock);
}

INTERPOSED int sem_wait(sem_t* semaphore) {
    reportRealtimeEvent(RealtimeEvent::Lock);
    return nextDefinition("sem_wait", nextSemWait)(semaphore);
}

}  // extern "C"
