#pragma once

#include <cstdio>
#include <cstdlib>

// A property that every input must keep. A broken one ends the process with
// a message: libFuzzer then saves the input, and a corpus run fails.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)
