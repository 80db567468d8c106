#ifndef ONDREL_PLATFORM_API_H_
#define ONDREL_PLATFORM_API_H_

// How the plug-in's entry points are declared: plain C names with the
// platform's standard calling convention, visible outside the module.
#ifdef _WIN32
#define ONDREL_API extern "C"
#define ONDREL_CALL __stdcall
#else
#define ONDREL_API extern "C" __attribute__((visibility("default")))
#define ONDREL_CALL
#endif

#endif  // ONDREL_PLATFORM_API_H_
