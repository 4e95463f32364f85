// The COM skin: VARIANT arguments to model values and model answers back
// to VARIANTs (a used range's cells as a two-dimensional SAFEARRAY indexed
// from 1, rows first, as Excel gives it), written apart from the add-in's
// own conversions so that the two meet as independent implementations.

#include "com_fake_excel.h"

#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>

namespace marrowfield {

const CLSID kExcelApplicationClass = {
    0x00024500, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

constexpr wchar_t kProgIdKey[] = L"Software\\Classes\\Excel.Application";
constexpr wchar_t kClassText[] = L"{00024500-0000-0000-C000-000000000046}";

std::string Narrow(const wchar_t* wide, int length) {
  if (wide == nullptr || length <= 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0,
                                       nullptr, nullptr);
  std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], size, nullptr,
                        nullptr);
  }
  return text;
}

BSTR Wide(const std::string& text) {
  const int size = MultiByteToWideChar(
      CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(size));
  if (wide != nullptr && size > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                        wide, size);
  }
  return wide;
}

}  // namespace

class ComFakeExcel::Object : public IDispatch {
 public:
  Object(ComFakeExcel& owner, int id) : owner_(owner), id_(id) {}
  virtual ~Object() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    owner_.model_.AddRef(id_);
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    owner_.model_.Release(id_);
    return 1;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                          LCID locale, DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count != 1) return E_INVALIDARG;
    if (IsApplication() && owner_.extension_ != nullptr &&
        owner_.extension_->IdOfName(names[0], ids)) {
      return S_OK;
    }
    int32_t member = 0;
    const HRESULT hr = owner_.model_.GetIdOfName(
        id_, Narrow(names[0], static_cast<int>(wcslen(names[0]))), locale,
        &member);
    *ids = SUCCEEDED(hr) ? member : DISPID_UNKNOWN;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID locale,
                                   WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT*) override {
    HRESULT extended = S_OK;
    if (IsApplication() && owner_.extension_ != nullptr &&
        owner_.extension_->Invoke(member, flags, parameters, result, exception,
                                  &extended)) {
      return extended;
    }
    std::vector<ModelValue> arguments;
    if (parameters != nullptr) {
      // A property put names its value, as automation requires; no other
      // named argument is understood.
      const bool namedPutValue =
          (flags & DISPATCH_PROPERTYPUT) != 0 && parameters->cNamedArgs == 1 &&
          parameters->rgdispidNamedArgs != nullptr &&
          parameters->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
      if (parameters->cNamedArgs != 0 && !namedPutValue) {
        return DISP_E_NONAMEDARGS;
      }
      // Automation passes the last argument first.
      for (UINT i = parameters->cArgs; i > 0; --i) {
        arguments.push_back(FromVariant(parameters->rgvarg[i - 1]));
      }
    }
    ModelValue answer;
    const HRESULT hr =
        owner_.model_.Invoke(id_, member, flags, locale, arguments,
                             result != nullptr ? &answer : nullptr);
    if (hr == DISP_E_EXCEPTION && exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->scode = hr;
      exception->bstrSource = SysAllocString(L"Microsoft Excel");
      exception->bstrDescription =
          SysAllocString(L"the fake Excel refused the call");
    }
    if (SUCCEEDED(hr) && result != nullptr) ToVariant(answer, result);
    return hr;
  }

 private:
  bool IsApplication() const {
    return owner_.model_.Knows(id_) &&
           owner_.model_.KindOf(id_) == ModelKind::kApplication;
  }

  ModelValue FromVariant(const VARIANT& variant) {
    if (variant.vt == (VT_ARRAY | VT_VARIANT)) return FromArray(variant.parray);
    switch (variant.vt) {
      case VT_I2:
        return ModelValue::Integer(variant.iVal, VT_I2);
      case VT_I4:
        return ModelValue::Integer(variant.lVal, VT_I4);
      case VT_R8:
        return ModelValue::Double(variant.dblVal);
      case VT_BOOL:
        return ModelValue::Boolean(variant.boolVal != VARIANT_FALSE);
      case VT_BSTR:
        return ModelValue::String(Narrow(
            variant.bstrVal, static_cast<int>(SysStringLen(variant.bstrVal))));
      case VT_DISPATCH:
        return ModelValue::Object(owner_.ObjectOf(variant.pdispVal));
      case VT_ERROR:
        return ModelValue::Error(variant.scode);
      default: {
        ModelValue other;
        other.typeCode = variant.vt;
        return other;
      }
    }
  }

  // A two-dimensional array of variants, as Range.Value takes one; any
  // other shape is a type Excel would not take for a range.
  ModelValue FromArray(SAFEARRAY* array) {
    ModelValue grid;
    grid.typeCode = VT_ARRAY | VT_VARIANT;
    LONG lower[2] = {};
    LONG upper[2] = {};
    if (array == nullptr || SafeArrayGetDim(array) != 2 ||
        FAILED(SafeArrayGetLBound(array, 1, &lower[0])) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper[0])) ||
        FAILED(SafeArrayGetLBound(array, 2, &lower[1])) ||
        FAILED(SafeArrayGetUBound(array, 2, &upper[1]))) {
      return grid;  // empty: the model refuses it
    }
    grid.kind = ModelValue::Kind::kGrid;
    grid.rows = upper[0] - lower[0] + 1;
    grid.columns = upper[1] - lower[1] + 1;
    for (LONG row = lower[0]; row <= upper[0]; ++row) {
      for (LONG column = lower[1]; column <= upper[1]; ++column) {
        VARIANT cell;
        VariantInit(&cell);
        LONG index[2] = {row, column};
        if (SUCCEEDED(SafeArrayGetElement(array, index, &cell))) {
          grid.cells.push_back(FromVariant(cell));
        } else {
          grid.cells.emplace_back();
        }
        VariantClear(&cell);
      }
    }
    return grid;
  }

  void ToVariant(const ModelValue& value, VARIANT* variant) {
    VariantInit(variant);
    switch (value.kind) {
      case ModelValue::Kind::kEmpty:
        return;
      case ModelValue::Kind::kInteger:
        if (value.typeCode == VT_I2) {
          variant->vt = VT_I2;
          variant->iVal = static_cast<SHORT>(value.integer);
        } else {
          variant->vt = VT_I4;
          variant->lVal = value.integer;
        }
        return;
      case ModelValue::Kind::kDouble:
        variant->vt = VT_R8;
        variant->dblVal = value.number;
        return;
      case ModelValue::Kind::kBoolean:
        variant->vt = VT_BOOL;
        variant->boolVal = value.flag ? VARIANT_TRUE : VARIANT_FALSE;
        return;
      case ModelValue::Kind::kString:
        variant->vt = VT_BSTR;
        variant->bstrVal = Wide(value.text);
        return;
      case ModelValue::Kind::kObject:
        // The model counted the reference the caller now holds.
        variant->vt = VT_DISPATCH;
        variant->pdispVal =
            value.objectId == 0 ? nullptr : owner_.Dispatch(value.objectId);
        return;
      case ModelValue::Kind::kError:
        variant->vt = VT_ERROR;
        variant->scode = value.integer;
        return;
      case ModelValue::Kind::kGrid: {
        SAFEARRAYBOUND bounds[2];
        bounds[0].lLbound = 1;
        bounds[0].cElements = static_cast<ULONG>(value.rows);
        bounds[1].lLbound = 1;
        bounds[1].cElements = static_cast<ULONG>(value.columns);
        SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
        if (array == nullptr) return;
        for (LONG row = 1; row <= value.rows; ++row) {
          for (LONG column = 1; column <= value.columns; ++column) {
            VARIANT cell;
            ToVariant(value.cells[static_cast<size_t>(
                          (row - 1) * value.columns + (column - 1))],
                      &cell);
            LONG index[2] = {row, column};
            SafeArrayPutElement(array, index, &cell);
            VariantClear(&cell);
          }
        }
        variant->vt = VT_ARRAY | VT_VARIANT;
        variant->parray = array;
        return;
      }
    }
  }

  ComFakeExcel& owner_;
  int id_;
};

ComFakeExcel::ComFakeExcel(FakeExcelModel& model, bool registerProgId)
    : model_(model) {
  if (!registerProgId) return;
  // The machine's classes first: Wine's CLSIDFromProgID reads only those.
  // A user without the right to write them registers for itself.
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, (std::wstring(kProgIdKey) + L"\\CLSID").c_str(),
                        0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      continue;
    }
    RegSetValueExW(key, nullptr, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(kClassText),
                   sizeof(kClassText));
    RegCloseKey(key);
    progIdRoot_ = root;
    break;
  }
}

ComFakeExcel::~ComFakeExcel() {
  Withdraw();
  if (progIdRoot_ != nullptr) RegDeleteTreeW(progIdRoot_, kProgIdKey);
}

void ComFakeExcel::Publish() {
  if (model_.activeProcess() >= 0) {
    IDispatch* application =
        Dispatch(model_.ApplicationObject(model_.activeProcess()));
    activeRegistered_ = SUCCEEDED(
        RegisterActiveObject(application, kExcelApplicationClass,
                             ACTIVEOBJECT_STRONG, &activeRegistration_));
  }
  IRunningObjectTable* table = nullptr;
  if (FAILED(GetRunningObjectTable(0, &table))) return;
  for (const auto& entry : model_.RunningEntries()) {
    if (entry.workbook < 0) continue;
    const int workbook = model_.Bind(entry);  // a reference for the moment
    std::wstring name(entry.name.begin(), entry.name.end());
    IMoniker* moniker = nullptr;
    if (SUCCEEDED(CreateFileMoniker(name.c_str(), &moniker))) {
      DWORD cookie = 0;
      if (SUCCEEDED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE,
                                    Dispatch(workbook), moniker, &cookie))) {
        documentRegistrations_.push_back(cookie);
      }
      moniker->Release();
    }
    model_.Release(workbook);
  }
  table->Release();
}

void ComFakeExcel::Withdraw() {
  if (activeRegistered_) RevokeActiveObject(activeRegistration_, nullptr);
  activeRegistered_ = false;
  if (documentRegistrations_.empty()) return;
  IRunningObjectTable* table = nullptr;
  if (SUCCEEDED(GetRunningObjectTable(0, &table))) {
    for (DWORD cookie : documentRegistrations_) table->Revoke(cookie);
    table->Release();
  }
  documentRegistrations_.clear();
}

int ComFakeExcel::ObjectOf(IDispatch* object) const {
  for (const auto& entry : objects_) {
    if (static_cast<IDispatch*>(entry.second.get()) == object) {
      return entry.first;
    }
  }
  return 0;
}

IDispatch* ComFakeExcel::Dispatch(int objectId) {
  auto& object = objects_[objectId];
  if (object == nullptr) object = std::make_unique<Object>(*this, objectId);
  return object.get();
}

}  // namespace marrowfield
