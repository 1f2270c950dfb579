/// @file
/// Export macro of the Lindrel core library. Symbols are hidden by default; only
/// declarations marked LINDREL_EXPORT form the shared library's interface.
///
/// @def LINDREL_EXPORT
/// Marks a declaration as part of the interface of liblindrel (empty in a static build,
/// LINDREL_STATIC).
#pragma once

#if defined(LINDREL_STATIC)
#define LINDREL_EXPORT
#elif defined(LINDREL_BUILDING_LIBRARY)
#define LINDREL_EXPORT __attribute__((visibility("default")))
#else
#define LINDREL_EXPORT __attribute__((visibility("default")))
#endif
