// Conversion between the add-in's AutomationValue and COM's VARIANT, the
// one place where text changes between 8-bit ANSI and UTF-16 (BSTR).

#ifndef MARROWFIELD_ADDIN_WIN32_VARIANT_CONVERSION_H_
#define MARROWFIELD_ADDIN_WIN32_VARIANT_CONVERSION_H_

#include <oaidl.h>
#include <windows.h>

#include <string>

#include "automation_port.h"
#include "automation_value.h"

namespace marrowfield {

// UTF-16 from ANSI text (the ANSI code page). False when the text cannot be
// converted.
bool AnsiToWide(const std::string& text, std::wstring* wide);

// ANSI text from |length| UTF-16 characters at |wide|; characters the code
// page lacks become its default character.
std::string WideToAnsi(const wchar_t* wide, size_t length);

// Fills the empty |variant| from |value|: VT_I2, VT_I4, VT_R8, VT_BOOL,
// VT_BSTR (a new string), VT_DISPATCH (with a reference of its own),
// VT_ERROR or VT_EMPTY. Returns E_FAIL when a string cannot be converted or
// allocated, E_INVALIDARG for an array or an unknown kind. The caller
// clears |variant| with VariantClear.
HRESULT ToVariant(const AutomationValue& value, VARIANT* variant);

// Takes the contents of |variant| over into a value and leaves it cleared:
// an object's reference moves into the value, released through |port|.
// A two-dimensional SAFEARRAY of variants becomes an array indexed from 1
// whatever its lower bounds; a one-dimensional one a single row.
AutomationValue TakeVariant(AutomationPort& port, VARIANT* variant);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_VARIANT_CONVERSION_H_
