// Runtime core: the language's reference-counted objects, number and text
// conversions, concatenation, console input and printing, the call profiler and
// the test tally. Text results of this unit carry no terminating zero.
#pragma once

#include "tr_tipler.h"

// Objects: a page-allocated block with a three-word header before the payload.
TR_API void* _tr_nesne_olustur(void* tag, int64_t payload_size) TR_NOEXCEPT;
TR_API void _tr_ref_artir(void* payload) TR_NOEXCEPT;
TR_API void _tr_ref_azalt(void* payload) TR_NOEXCEPT;

// Numbers and texts.
TR_API TrMetin _tr_tam_metin(int64_t value) TR_NOEXCEPT;
TR_API TrMetin _tr_ondalik_metin(double value) TR_NOEXCEPT;
TR_API int64_t _tr_metin_tam(const char* bytes, int64_t length) TR_NOEXCEPT;
TR_API TrMetin _metin_birlestir(const char* a, int64_t a_length,
                                const char* b, int64_t b_length) TR_NOEXCEPT;
TR_API TrMetin _tr_satiroku(void) TR_NOEXCEPT;

// Printing on standard output.
TR_API void _yazdir_tam(int64_t value) TR_NOEXCEPT;
TR_API void _yazdir_metin(const char* bytes, int64_t length) TR_NOEXCEPT;
TR_API void _yazdir_ondalik(double value) TR_NOEXCEPT;
TR_API void _yazdir_mantik(int64_t value) TR_NOEXCEPT;

// Call profiler and test tally; their reports go to standard error.
TR_API void _tr_profil_giris(const char* name, int64_t length) TR_NOEXCEPT;
TR_API void _tr_profil_cikis(const char* name, int64_t length) TR_NOEXCEPT;
TR_API void _tr_profil_rapor(void) TR_NOEXCEPT;
TR_API void _tr_dogrula(int64_t condition, const char* message, int64_t length,
                        int64_t source_line) TR_NOEXCEPT;
TR_API void _tr_test_rapor(void) TR_NOEXCEPT;
