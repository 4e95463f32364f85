// ComAutomationPort: the automation port over ole32 and oleaut32, as the
// add-in uses it inside Excel and the Windows tests use it against a fake
// Excel made of real COM objects.

#ifndef MARROWFIELD_ADDIN_WIN32_COM_AUTOMATION_PORT_H_
#define MARROWFIELD_ADDIN_WIN32_COM_AUTOMATION_PORT_H_

#include <memory>
#include <string>

#include "automation_port.h"

namespace marrowfield {

class ComAutomationPort : public AutomationPort {
 public:
  HResult InitializeOle() noexcept override;
  uint64_t TickMs() noexcept override;
  void SleepMs(uint32_t milliseconds) noexcept override;
  void UninitializeOle() noexcept override;
  HResult ClassIdFromProgId(const std::string& progId,
                            ClassId* classId) noexcept override;
  HResult GetActiveObject(const ClassId& classId,
                          DispatchRef* object) noexcept override;
  HResult GetIdOfName(IDispatch* object, const std::string& name,
                      uint32_t locale, DispId* member) noexcept override;
  HResult Invoke(IDispatch* object, const InvokeRequest& request,
                 AutomationValue* result, InvokeException* exception,
                 uint32_t* argumentError) noexcept override;
  HResult OpenRunningObjects(
      std::unique_ptr<RunningObjects>* table) noexcept override;
  void Release(IDispatch* object) noexcept override;
  HResult CreateInstance(const ClassId& classId, uint32_t contexts,
                         DispatchRef* object) noexcept override;
  bool SystemMessage(HResult hr, std::string* text) noexcept override;
  bool TakeErrorInfo(IDispatch* object, std::string* source,
                     std::string* description) noexcept override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_COM_AUTOMATION_PORT_H_
