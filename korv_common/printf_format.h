#pragma once
// The printf flavour the compiler checks a formatting function's arguments against. MinGW-w64 names
// the one its runtime formats with (its own or Microsoft's); a native build formats with the C
// library's own printf.
#include <cstdio> // MinGW-w64's <_mingw.h>, which defines __MINGW_PRINTF_FORMAT, comes with it

#ifdef __MINGW_PRINTF_FORMAT
#define KORV_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define KORV_PRINTF_FORMAT printf
#endif
