// Excel's wide callback, the entry behind the SDK's Excel12 and Excel12v.
// Excel 2007 and later export it from their own process as MdCallBack12;
// an Excel without it offers the Excel4 interface only. How it is found is
// the platform's affair: the Windows build asks the host process for it,
// native test builds take the fake's.

#ifndef MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY12_H_
#define MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY12_H_

#include "host_callback_library.h"
#include "xloper12.h"

namespace marrowfield {

// MdCallBack12: function number, argument count, the arguments as an
// array, the result (may be null). Returns the host's return code. Note
// the order, which differs from Excel4v's.
using Excel12Entry = int(MARROWFIELD_XLCALL_STDCALL*)(int xlfn, int count,
                                                      XLOPER12** opers,
                                                      XLOPER12* operRes);

// The host's wide callback, or null when the host does not offer one.
Excel12Entry FindExcel12Entry();

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_CALLBACK_LIBRARY12_H_
