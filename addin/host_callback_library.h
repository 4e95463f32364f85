// The two entries of Excel's callback library XLCALL32 that the add-in
// uses. The Windows build imports them by ordinal (2 and 3) from
// XLCALL32.DLL; native test builds link a fake that defines them instead,
// so the add-in's calls take the same path on both.

#ifndef MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY_H_
#define MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY_H_

#include "xloper.h"

// 32-bit Excel calls Excel4 as cdecl (it is variadic) and Excel4v as
// stdcall; 64-bit Windows and other systems have one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define MARROWFIELD_XLCALL_CDECL __cdecl
#define MARROWFIELD_XLCALL_STDCALL __stdcall
#else
#define MARROWFIELD_XLCALL_CDECL
#define MARROWFIELD_XLCALL_STDCALL
#endif

extern "C" {

// Calls host function |xlfn| with |count| further XLOPER* arguments. The
// host fills *|operRes| when it is not null. Returns the host's return code.
int MARROWFIELD_XLCALL_CDECL Excel4(int xlfn, marrowfield::XLOPER* operRes,
                                    int count, ...);

// As Excel4, with the arguments as an array of |count| pointers.
int MARROWFIELD_XLCALL_STDCALL Excel4v(int xlfn, marrowfield::XLOPER* operRes,
                                       int count, marrowfield::XLOPER* opers[]);

}  // extern "C"

#endif  // MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY_H_
