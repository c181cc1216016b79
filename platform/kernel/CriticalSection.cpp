#include "platform/kernel/CriticalSection.h"

#include "platform/kernel/KernelDetail.h"

using kernel_detail::CurrentTid;

namespace {

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

void NoteEntered(LPCRITICAL_SECTION section) {
    if (++section->RecursionCount == 1) {
        __atomic_store_n(&section->OwningThread, CurrentTid(), __ATOMIC_RELAXED);
    }
}

} // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    InitializeCriticalSectionAndSpinCount(section, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&section->Mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    section->RecursionCount = 0;
    section->OwningThread = 0;
    section->SpinCount = spinCount;
    return TRUE;
}

DWORD SetCriticalSectionSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
    const auto previous = static_cast<DWORD>(section->SpinCount);
    section->SpinCount = spinCount;
    return previous;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    for (ULONG_PTR spin = section->SpinCount; spin > 0; --spin) {
        if (pthread_mutex_trylock(&section->Mutex) == 0) {
            NoteEntered(section);
            return;
        }
        CpuRelax();
    }
    pthread_mutex_lock(&section->Mutex);
    NoteEntered(section);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    if (pthread_mutex_trylock(&section->Mutex) != 0) {
        return FALSE;
    }
    NoteEntered(section);
    return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    // Leaving a section the thread does not own is a caller bug; ignoring it keeps the owner's count intact.
    if (__atomic_load_n(&section->OwningThread, __ATOMIC_RELAXED) != CurrentTid()) {
        return;
    }
    if (--section->RecursionCount == 0) {
        __atomic_store_n(&section->OwningThread, DWORD{0}, __ATOMIC_RELAXED);
    }
    pthread_mutex_unlock(&section->Mutex);
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_destroy(&section->Mutex);
}
