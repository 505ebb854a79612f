#pragma once

// Marks a picture loop to be built twice, for the baseline processor and with
// AVX2's wider vectors; the loader picks the one the processor can run. Not in
// GCC's ThreadSanitizer build: there the loader's chooser is instrumented too
// and crashes, as it runs before the sanitizer is set up.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_VECTOR_CLONES
#endif
