// The types shared by every runtime unit and by programs of the language.
//
// Calling convention at the runtime boundary:
//  - integers, ids, booleans (0/1), counts, pixels and kinds are int64_t;
//  - a text argument is two parameters, (const char* bytes, int64_t length); a null
//    pointer or a length of 0 or less is the empty text, no terminating zero is needed;
//  - a text result is a TrMetin returned by value; ptr comes from malloc and is the
//    caller's to free; the empty text is {nullptr, 0} unless the entry point says that
//    its empty result has storage (a fresh block holding only a terminating zero).
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#define TR_API extern "C"
#define TR_NOEXCEPT noexcept
#else
#define TR_API
#define TR_NOEXCEPT
#endif

typedef struct TrMetin {
    char* ptr;
    int64_t len;
} TrMetin;
