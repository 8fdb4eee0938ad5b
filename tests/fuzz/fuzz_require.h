#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer on a broken invariant, naming it; libFuzzer keeps the input as a finding.
#define KW_FUZZ_REQUIRE(condition)                                                         \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: verletzt: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)
