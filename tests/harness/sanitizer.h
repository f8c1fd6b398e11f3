// Whether this test program is built with AddressSanitizer: GLIMMERDEEP_ASAN
// is 1 or 0. Its allocator and its shadow memory change what the C library
// and the kernel report of a process's memory.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define GLIMMERDEEP_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLIMMERDEEP_ASAN 1
#endif
#endif
#ifndef GLIMMERDEEP_ASAN
#define GLIMMERDEEP_ASAN 0
#endif
