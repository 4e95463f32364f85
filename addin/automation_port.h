// AutomationPort: the add-in's view of OLE automation, one call per thing
// the bridge needs from it: initialise OLE, look up a class by ProgID, get
// the class's active object, get the dispatch identifier of a name, invoke
// a member, walk the running-object table and bind its monikers. Windows
// implements it over ole32 and oleaut32; the tests put a fake Excel behind
// it. Every call answers with an HRESULT and never throws.

#ifndef MARROWFIELD_ADDIN_AUTOMATION_PORT_H_
#define MARROWFIELD_ADDIN_AUTOMATION_PORT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation_value.h"

struct IDispatch;

namespace marrowfield {

using HResult = int32_t;
using DispId = int32_t;

// A COM class identifier, laid out as a GUID.
struct ClassId {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
};

// The invoke flags of IDispatch::Invoke that the add-in uses.
enum class InvokeKind : uint16_t {
  kMethod = 1,
  kPropertyGet = 2,
  kMethodOrPropertyGet = 3,
  kPropertyPut = 4,  // the adapter names the value DISPID_PROPERTYPUT
};

// One call of a member: its identifier, the locale, the kind, and the
// positional arguments in their natural order (the adapter reverses them
// for IDispatch, as automation requires).
struct InvokeRequest {
  DispId member = 0;
  uint32_t locale = 0;
  InvokeKind kind = InvokeKind::kMethod;
  std::vector<AutomationValue> arguments;
};

// What the object said about a DISP_E_EXCEPTION.
struct InvokeException {
  int32_t code = 0;  // the object's HRESULT (scode), or its wCode
  std::string source;
  std::string description;
};

// One moniker of the running-object table; releasing it is the destructor's
// work.
class Moniker {
 public:
  virtual ~Moniker() = default;
};

// An open walk through the running-object table: a bind context, the table
// and an enumerator reset to the start. The destructor releases the
// enumerator, the table and the bind context, in that order.
class RunningObjects {
 public:
  virtual ~RunningObjects() = default;

  // Fetches one moniker (IEnumMoniker::Next with a count of 1). Returns
  // S_OK with *|moniker| set, S_FALSE when the table is exhausted, or the
  // failure.
  virtual HResult Next(std::unique_ptr<Moniker>* moniker) noexcept = 0;

  // Binds |moniker| to the object it names, asking for IDispatch, with the
  // walk's bind context and no left moniker. On success *|object| owns the
  // object's reference.
  virtual HResult Bind(Moniker& moniker, DispatchRef* object) noexcept = 0;
};

class AutomationPort {
 public:
  virtual ~AutomationPort() = default;

  // OleInitialize(NULL) on the calling thread.
  virtual HResult InitializeOle() noexcept = 0;

  // OleUninitialize on the calling thread; one for each successful
  // InitializeOle (S_FALSE included).
  virtual void UninitializeOle() noexcept = 0;

  // CLSIDFromProgID.
  virtual HResult ClassIdFromProgId(const std::string& progId,
                                    ClassId* classId) noexcept = 0;

  // GetActiveObject for |classId|, then QueryInterface of it for IDispatch;
  // on success *|object| owns the IDispatch reference, and the reference
  // the lookup gave is already released.
  virtual HResult GetActiveObject(const ClassId& classId,
                                  DispatchRef* object) noexcept = 0;

  // IDispatch::GetIDsOfNames for the one name |name|.
  virtual HResult GetIdOfName(IDispatch* object, const std::string& name,
                              uint32_t locale, DispId* member) noexcept = 0;

  // IDispatch::Invoke with no named arguments. |result| may be null (no
  // result wanted); when it is not, it holds the result on success and is
  // empty on failure. |exception| and |argumentError| may be null, which
  // passes no record to the object.
  virtual HResult Invoke(IDispatch* object, const InvokeRequest& request,
                         AutomationValue* result, InvokeException* exception,
                         uint32_t* argumentError) noexcept = 0;

  // CreateBindCtx(0), its running-object table, EnumRunning and Reset. The
  // first failure is returned and nothing stays open.
  virtual HResult OpenRunningObjects(
      std::unique_ptr<RunningObjects>* table) noexcept = 0;

  // Releases one reference to |object|. DispatchRef is the only caller.
  virtual void Release(IDispatch* object) noexcept = 0;

  // What the installer needs besides; ports that serve only the add-in
  // keep these defaults.

  // CoCreateInstance of |classId| for IUnknown with the class contexts
  // |contexts|, OleRun on it, then QueryInterface for IDispatch; on success
  // *|object| owns the IDispatch reference and the others are released.
  virtual HResult CreateInstance(const ClassId& /*classId*/,
                                 uint32_t /*contexts*/,
                                 DispatchRef* /*object*/) noexcept {
    return static_cast<HResult>(0x80004001u);  // E_NOTIMPL
  }

  // The system's message for |hr| (neutral language, default sublanguage),
  // as the system gives it, trailing line break included. False when the
  // system has none.
  virtual bool SystemMessage(HResult /*hr*/, std::string* /*text*/) noexcept {
    return false;
  }

  // A clock in milliseconds and a pause, for retrying calls a busy host
  // rejects. The defaults stand still and do not wait.
  virtual uint64_t TickMs() noexcept { return 0; }
  virtual void SleepMs(uint32_t /*milliseconds*/) noexcept {}

  // The error information a failing call on |object| left on this thread,
  // when |object| says it supports it for IDispatch; taking it clears it.
  // False when there is none.
  virtual bool TakeErrorInfo(IDispatch* /*object*/, std::string* /*source*/,
                             std::string* /*description*/) noexcept {
    return false;
  }
};

// HRESULTs the bridge tests for or returns.
constexpr HResult kSOk = 0;
constexpr HResult kSFalse = 1;
constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
constexpr HResult kEPointer = static_cast<HResult>(0x80004003u);
constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000Eu);
constexpr HResult kDispEException = static_cast<HResult>(0x80020009u);
constexpr HResult kDispEParamNotFound = static_cast<HResult>(0x80020004u);
constexpr HResult kDispEMemberNotFound = static_cast<HResult>(0x80020003u);

constexpr bool Succeeded(HResult hr) { return hr >= 0; }
constexpr bool Failed(HResult hr) { return hr < 0; }

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_AUTOMATION_PORT_H_
