// VARIANT <-> AutomationValue. Every VARIANT that passes through here is
// cleared exactly once, so the BSTRs, arrays and object references it held
// are freed or handed on, never both.

#include "variant_conversion.h"

#include <oleauto.h>

#include <utility>

namespace marrowfield {
namespace {

// One array element, fetched into a fresh variant and taken over.
AutomationValue Element(AutomationPort& port, SAFEARRAY* array, LONG* index) {
  VARIANT element;
  VariantInit(&element);
  if (FAILED(SafeArrayGetElement(array, index, &element))) return {};
  return TakeVariant(port, &element);
}

AutomationValue TakeArray(AutomationPort& port, const VARIANT& variant) {
  SAFEARRAY* array = (variant.vt & VT_BYREF) != 0
                         ? (variant.pparray ? *variant.pparray : nullptr)
                         : variant.parray;
  if (array == nullptr || (variant.vt & VT_TYPEMASK) != VT_VARIANT) {
    return AutomationValue::Other(variant.vt);
  }
  const UINT dimensions = SafeArrayGetDim(array);
  if (dimensions < 1 || dimensions > 2)
    return AutomationValue::Other(variant.vt);
  LONG lower[2] = {1, 1};
  LONG upper[2] = {1, 1};
  for (UINT d = 0; d < dimensions; ++d) {
    if (FAILED(SafeArrayGetLBound(array, d + 1, &lower[d])) ||
        FAILED(SafeArrayGetUBound(array, d + 1, &upper[d]))) {
      return AutomationValue::Other(variant.vt);
    }
  }
  AutomationArray result;
  // A one-dimensional array is one row of columns.
  const int rowDimension = dimensions == 2 ? 0 : 1;
  const int columnDimension = dimensions == 2 ? 1 : 0;
  if (dimensions == 1) lower[1] = upper[1] = 0;
  result.rows = upper[rowDimension] - lower[rowDimension] + 1;
  result.columns = upper[columnDimension] - lower[columnDimension] + 1;
  if (result.rows <= 0 || result.columns <= 0) {
    result.rows = result.columns = 0;
    return AutomationValue::Array(std::move(result));
  }
  result.cells.reserve(static_cast<size_t>(result.rows) *
                       static_cast<size_t>(result.columns));
  for (LONG row = 0; row < result.rows; ++row) {
    for (LONG column = 0; column < result.columns; ++column) {
      LONG index[2];
      index[rowDimension] = lower[rowDimension] + row;
      index[columnDimension] = lower[columnDimension] + column;
      result.cells.push_back(Element(port, array, index));
    }
  }
  return AutomationValue::Array(std::move(result));
}

// A rows x columns SAFEARRAY of VARIANTs, both bounds from 1, as Excel
// hands out a range's values and takes them back.
HRESULT ArrayToVariant(const AutomationArray& source, VARIANT* variant) {
  if (source.rows <= 0 || source.columns <= 0 ||
      source.cells.size() != static_cast<size_t>(source.rows) *
                                 static_cast<size_t>(source.columns)) {
    return E_INVALIDARG;
  }
  SAFEARRAYBOUND bounds[2];
  bounds[0].lLbound = 1;
  bounds[0].cElements = static_cast<ULONG>(source.rows);
  bounds[1].lLbound = 1;
  bounds[1].cElements = static_cast<ULONG>(source.columns);
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (array == nullptr) return E_OUTOFMEMORY;
  for (LONG row = 1; row <= source.rows; ++row) {
    for (LONG column = 1; column <= source.columns; ++column) {
      VARIANT cell;
      HRESULT hr = ToVariant(source.At(row, column), &cell);
      LONG index[2] = {row, column};
      // SafeArrayPutElement copies the cell, which is then cleared.
      if (SUCCEEDED(hr)) hr = SafeArrayPutElement(array, index, &cell);
      VariantClear(&cell);
      if (FAILED(hr)) {
        SafeArrayDestroy(array);
        return hr;
      }
    }
  }
  variant->vt = VT_ARRAY | VT_VARIANT;
  variant->parray = array;
  return S_OK;
}

}  // namespace

bool AnsiToWide(const std::string& text, std::wstring* wide) {
  wide->clear();
  if (text.empty()) return true;
  const int length = MultiByteToWideChar(
      CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(CP_ACP, 0, text.data(),
                             static_cast<int>(text.size()), &(*wide)[0],
                             length) == length;
}

std::string WideToAnsi(const wchar_t* wide, size_t length) {
  if (wide == nullptr || length == 0) return {};
  const int size = WideCharToMultiByte(
      CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), &text[0], size,
                      nullptr, nullptr);
  return text;
}

HRESULT ToVariant(const AutomationValue& value, VARIANT* variant) {
  VariantInit(variant);
  switch (value.kind()) {
    case ValueKind::kEmpty:
      return S_OK;
    case ValueKind::kInt16:
      variant->vt = VT_I2;
      variant->iVal = value.int16();
      return S_OK;
    case ValueKind::kInt32:
      variant->vt = VT_I4;
      variant->lVal = value.int32();
      return S_OK;
    case ValueKind::kDouble:
      variant->vt = VT_R8;
      variant->dblVal = value.number();
      return S_OK;
    case ValueKind::kBoolean:
      variant->vt = VT_BOOL;
      variant->boolVal = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case ValueKind::kString: {
      std::wstring wide;
      if (!AnsiToWide(value.text(), &wide)) return E_FAIL;
      BSTR text =
          SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (text == nullptr) return E_FAIL;
      variant->vt = VT_BSTR;
      variant->bstrVal = text;
      return S_OK;
    }
    case ValueKind::kObject: {
      IDispatch* object = value.object().get();
      if (object != nullptr) object->AddRef();
      variant->vt = VT_DISPATCH;
      variant->pdispVal = object;
      return S_OK;
    }
    case ValueKind::kError:
      variant->vt = VT_ERROR;
      variant->scode = value.error();
      return S_OK;
    case ValueKind::kArray:
      return ArrayToVariant(value.array(), variant);
    default:
      return E_INVALIDARG;
  }
}

AutomationValue TakeVariant(AutomationPort& port, VARIANT* variant) {
  AutomationValue value;
  const VARTYPE type = variant->vt;
  if ((type & VT_ARRAY) != 0) {
    value = TakeArray(port, *variant);
  } else {
    switch (type) {
      case VT_EMPTY:
        break;
      case VT_I2:
        value = AutomationValue::Int16(variant->iVal);
        break;
      case VT_I4:
        value = AutomationValue::Int32(variant->lVal);
        break;
      case VT_R4:
        value = AutomationValue::Double(variant->fltVal);
        break;
      case VT_R8:
        value = AutomationValue::Double(variant->dblVal);
        break;
      case VT_BOOL:
        value = AutomationValue::Boolean(variant->boolVal != VARIANT_FALSE);
        break;
      case VT_BSTR:
        value = AutomationValue::String(
            WideToAnsi(variant->bstrVal, SysStringLen(variant->bstrVal)));
        break;
      case VT_DISPATCH:
        // The variant's reference moves into the value.
        value = AutomationValue::Object(DispatchRef(port, variant->pdispVal));
        variant->vt = VT_EMPTY;
        variant->pdispVal = nullptr;
        break;
      case VT_ERROR:
        value = AutomationValue::Error(variant->scode);
        break;
      default:
        value = AutomationValue::Other(type);
        break;
    }
  }
  VariantClear(variant);
  return value;
}

}  // namespace marrowfield
