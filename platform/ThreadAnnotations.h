// Clang's thread-safety attributes, so that the compiler checks which lock guards which
// member and which functions expect it held (-Wthread-safety). Other compilers, and clang
// without the warning, see nothing.
#pragma once

#if defined(__clang__)
#define LINDREL_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define LINDREL_THREAD_ANNOTATION(x)
#endif

// A type that is a lock: a mutex, or anything that hands one out.
#define CAPABILITY(name) LINDREL_THREAD_ANNOTATION(capability(name))
// An object that holds a lock for its lifetime (a lock guard).
#define SCOPED_CAPABILITY LINDREL_THREAD_ANNOTATION(scoped_lockable)
// A member read or written only while the lock is held.
#define GUARDED_BY(x) LINDREL_THREAD_ANNOTATION(guarded_by(x))
// A pointer member whose pointee is read or written only while the lock is held.
#define PT_GUARDED_BY(x) LINDREL_THREAD_ANNOTATION(pt_guarded_by(x))
// A function its callers must call with the locks held ...
#define REQUIRES(...) LINDREL_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
// ... or must not, because it takes them itself.
#define EXCLUDES(...) LINDREL_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
// A function that takes the lock and returns with it held.
#define ACQUIRE(...) LINDREL_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
// A function that releases a lock held on entry.
#define RELEASE(...) LINDREL_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
// A function that takes the lock when it answers `result`.
#define TRY_ACQUIRE(...) LINDREL_THREAD_ANNOTATION(try_acquire_capability(__VA_ARGS__))
// A function that answers the lock it returns a reference to.
#define RETURN_CAPABILITY(x) LINDREL_THREAD_ANNOTATION(lock_returned(x))
// A function that checks at run time that the lock is held.
#define ASSERT_CAPABILITY(x) LINDREL_THREAD_ANNOTATION(assert_capability(x))
// A function the analysis does not follow; say why wherever it is used.
#define NO_THREAD_SAFETY_ANALYSIS LINDREL_THREAD_ANNOTATION(no_thread_safety_analysis)
