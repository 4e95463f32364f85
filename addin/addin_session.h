// AddinSession: what the add-in does when the host calls its entry points
// and commands. The exported functions of the Windows add-in are thin
// shells over one process-wide AddinSession; tests drive it directly with
// fake ports. Nothing leaves it as an exception: each entry point catches
// every error, writes "Error..." to the debugger output and returns its
// usual answer.

#ifndef MARROWFIELD_ADDIN_ADDIN_SESSION_H_
#define MARROWFIELD_ADDIN_ADDIN_SESSION_H_

#include <array>
#include <cstdint>

#include "addin_config.h"
#include "sheet_function_table.h"
#include "xloper.h"

// True only while the sample test runs the search command.
extern bool g_bTestMode;

namespace marrowfield {

class DebugOutput;
class DialogViews;
class HostAutomation;

struct AddinPorts {
  DebugOutput& debug;
  HostAutomation& automation;
  DialogViews& dialogs;
};

class AddinSession {
 public:
  // The ports must outlive the session.
  AddinSession(AddinConfig config, AddinPorts ports);
  AddinSession(const AddinSession&) = delete;
  AddinSession& operator=(const AddinSession&) = delete;

  // xlAutoOpen: registers the commands, adds the menu unless the host
  // already shows it, registers the worksheet functions (through Excel12,
  // thread-safe, when the host offers it), connects to the host's automation
  // object, starts the engine. Returns 1.
  int32_t AutoOpen() noexcept;

  // xlAutoClose: removes the defined names of the commands,
  // unregisters the worksheet functions and removes their names, removes
  // the menu (only when present), stops the engine, releases and forgets the
  // host connection so that a later open connects afresh, and balances the
  // bridge's OleInitialize. Returns 1.
  int32_t AutoClose() noexcept;

  // xlAutoRegister: registers every command or worksheet function whose
  // name (a function has one per interface) equals the counted string
  // |procedureName| ignoring ASCII case. Returns a value owned by
  // the session: REGISTER's answer when a command matched, else #VALUE!.
  XLOPER* AutoRegister(const XLOPER* procedureName) noexcept;

  // xlAddInManagerInfo: for the action 1 a counted string "Marrowfield",
  // for anything else #VALUE!; the value is owned by the session.
  XLOPER* AddInManagerInfo(const XLOPER* action) noexcept;

  // The commands. Each returns 1.
  int32_t MarrowfieldDialog() noexcept;
  int32_t MarrowfieldAbout() noexcept;
  int32_t MarrowfieldTest() noexcept;
  // Find duplicates: shows its dialog on the active sheet.
  int32_t MarrowfieldDuplicates() noexcept;

  const AddinConfig& config() const { return config_; }

 private:
  // Runs |step|; an error ends the step with "Error..." on the debug port.
  template <typename Step>
  void Guarded(Step&& step) noexcept;

  void SetValueError(XLOPER* value);

  AddinConfig config_;
  AddinPorts ports_;
  // Answers handed to the host, which reads them after the entry returns.
  XLOPER registerAnswer_{};
  XLOPER managerAnswer_{};
  char managerName_[1 + 32] = {};
  // REGISTER's answers for the worksheet functions, in table order.
  std::array<XLOPER, SheetFunctionTable.size()> functionIds_{};
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_ADDIN_SESSION_H_
