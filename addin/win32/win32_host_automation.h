// Win32HostAutomation: the host automation port on Windows. Releasing the
// host's Application object is real COM; finding the object and asking it
// for workbooks is the automation bridge's work, and until the bridge is
// built the add-in reports honestly that it is not connected.

#ifndef MARROWFIELD_ADDIN_WIN32_WIN32_HOST_AUTOMATION_H_
#define MARROWFIELD_ADDIN_WIN32_WIN32_HOST_AUTOMATION_H_

#include <string>

#include "host_automation.h"

namespace marrowfield {

class Win32HostAutomation : public HostAutomation {
 public:
  // Returns E_NOTIMPL and leaves g_pdispXL null: no connection is made.
  int32_t ConnectToHost() noexcept override;

  // Calls Release once on g_pdispXL when it is set.
  void ReleaseApplication() noexcept override;

  // Throws HostCallError(E_NOTIMPL): no workbook can be added.
  void AddWorkbookFromTemplate(const std::string& templatePath) override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_WIN32_HOST_AUTOMATION_H_
