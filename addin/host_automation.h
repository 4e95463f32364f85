// HostAutomation: the port to the host's automation object (Excel's
// Application, reached through COM on Windows). The add-in's entry points
// connect at open, release at close, and the sample test asks it for a new
// workbook.

#ifndef MARROWFIELD_ADDIN_HOST_AUTOMATION_H_
#define MARROWFIELD_ADDIN_HOST_AUTOMATION_H_

#include <cstdint>
#include <string>

namespace marrowfield {

class HostAutomation {
 public:
  virtual ~HostAutomation() = default;

  // Finds the Application object of the host process that loaded the
  // add-in and keeps one reference to it in g_pdispXL. Returns an HRESULT
  // (negative on failure, leaving g_pdispXL null). Must not throw.
  virtual int32_t ConnectToHost() noexcept = 0;

  // Releases the reference that g_pdispXL holds, once; does nothing when it
  // is null. Leaves the globals themselves to ForgetHostConnection().
  // Must not throw.
  virtual void ReleaseApplication() noexcept = 0;

  // Balances the OleInitialize of a successful ConnectToHost (S_FALSE
  // included) with one OleUninitialize; does nothing when OLE is not
  // initialised by the add-in. Must not throw.
  virtual void UninitializeOle() noexcept = 0;

  // Has the host add a workbook based on |templatePath|, which becomes the
  // active one. Throws HostCallError when the host cannot.
  virtual void AddWorkbookFromTemplate(const std::string& templatePath) = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_AUTOMATION_H_
