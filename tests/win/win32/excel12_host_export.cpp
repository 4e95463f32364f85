// A test program that loads the add-in stands in for Excel's process, so
// it exports MdCallBack12 as Excel 2007 and later do: the add-in finds the
// Excel12 interface there, and every call lands in the fake XLCALL32.DLL.

#include "fake_xlcall32.h"

extern "C" __declspec(dllexport) int MARROWFIELD_FAKE_STDCALL
    MdCallBack12(int xlfn, int count, void** opers, void* operRes) {
  return fake_xl_callback12(xlfn, count, opers, operRes);
}
