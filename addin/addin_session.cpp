// The entry points and commands. Host calls go through host_registration;
// the engine is started and stopped through its exported C interface, the
// same one other programs use.

#include "addin_session.h"

#include <cstring>
#include <utility>

#include "bridge_state.h"
#include "command_tables.h"
#include "debug_output.h"
#include "dialog_views.h"
#include "host_automation.h"
#include "host_registration.h"
#include "host_value.h"
#include "marrowfield.h"
#include "sheet_function_registration.h"
#include "temp_value_pool.h"

bool g_bTestMode = false;

namespace marrowfield {

AddinSession::AddinSession(AddinConfig config, AddinPorts ports)
    : config_(std::move(config)), ports_(ports) {}

template <typename Step>
void AddinSession::Guarded(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
    ports_.debug.Write("Error...");
  }
}

void AddinSession::SetValueError(XLOPER* value) {
  *value = XLOPER{};
  value->val.err = xlerrValue;
  value->xltype = xltypeErr;
}

int32_t AddinSession::AutoOpen() noexcept {
  Guarded([] {
    HostValue ownPath;
    ownPath.Call(xlGetName);
    for (const CommandRow& row : AllCommands) {
      RegisterCommand(ownPath.value(), row);
    }
    // A second open finds the menu, its items included, and leaves it; a
    // failed question adds nothing rather than risk a second menu.
    if (FindMenu() == MenuState::kMissing) {
      AddMenu();
      AddMenuItem(DuplicatesMenuItem, kDuplicatesItemBefore);
    }
  });
  // The worksheet functions come after the commands and menu, each on its
  // own, so that one the host refuses leaves the others registered.
  for (std::size_t i = 0; i < SheetFunctionTable.size(); ++i) {
    Guarded([this, i] {
      functionIds_[i] = RegisterSheetFunction(SheetFunctionTable[i]);
    });
  }
  Guarded([this] { ports_.automation.ConnectToHost(); });
  Guarded([] { initialize(); });
  return 1;
}

int32_t AddinSession::AutoClose() noexcept {
  // Separate steps, so that a failure in one never skips releasing the
  // connection.
  // Every name the add-in registered goes, as the host asks of
  // xlAutoClose; left behind, they would run code that is no longer there.
  for (const CommandRow& row : AllCommands) {
    Guarded([&row] { RemoveDefinedName(row.procedure); });
  }
  for (std::size_t i = 0; i < SheetFunctionTable.size(); ++i) {
    Guarded([this, i] {
      UnregisterSheetFunction(SheetFunctionTable[i], functionIds_[i]);
      SetValueError(&functionIds_[i]);
    });
  }
  Guarded([] {
    if (FindMenu() == MenuState::kPresent) DeleteMenu();
  });
  Guarded([] { un_initialize(); });
  ports_.automation.ReleaseApplication();
  ForgetHostConnection();
  ports_.automation.UninitializeOle();
  return 1;
}

XLOPER* AddinSession::AutoRegister(const XLOPER* procedureName) noexcept {
  SetValueError(&registerAnswer_);
  Guarded([this, procedureName] {
    for (const CommandRow& row : AllCommands) {
      if (!NamesProcedure(procedureName, row.procedure)) continue;
      HostValue ownPath;
      ownPath.Call(xlGetName);
      // The host wants REGISTER's own answer back for a name it asked for.
      RegisterCommand(ownPath.value(), row, &registerAnswer_);
    }
    if (const SheetFunctionRow* row = FindSheetFunction(procedureName)) {
      const std::size_t i =
          static_cast<std::size_t>(row - SheetFunctionTable.data());
      functionIds_[i] = RegisterSheetFunction(*row);
      registerAnswer_ = functionIds_[i];
    }
  });
  return &registerAnswer_;
}

XLOPER* AddinSession::AddInManagerInfo(const XLOPER* action) noexcept {
  SetValueError(&managerAnswer_);
  Guarded([this, action] {
    if (action == nullptr) return;
    XLOPER argument = *action;
    HostValue coerced;
    coerced.Call(xlCoerce, &argument, MakeTempInteger(xltypeInt));
    if (!coerced.filled() || BaseType(coerced.value()) != xltypeInt ||
        coerced.value().val.w != 1) {
      return;
    }
    const std::size_t length = std::strlen(kAddinDisplayName);
    static_assert(sizeof(managerName_) > 11, "room for the display name");
    managerName_[0] = static_cast<char>(length);
    std::memcpy(managerName_ + 1, kAddinDisplayName, length);
    managerAnswer_ = XLOPER{};
    managerAnswer_.val.str = managerName_;
    managerAnswer_.xltype = xltypeStr;
  });
  return &managerAnswer_;
}

int32_t AddinSession::MarrowfieldDialog() noexcept {
  Guarded([this] {
    if (g_bTestMode) {
      ports_.automation.AddWorkbookFromTemplate(config_.sampleWorkbookPath);
    }
    ports_.dialogs.ShowSearchDialog(config_);
  });
  g_bTestMode = false;
  return 1;
}

int32_t AddinSession::MarrowfieldAbout() noexcept {
  Guarded([this] { ports_.dialogs.ShowAboutDialog(); });
  return 1;
}

int32_t AddinSession::MarrowfieldDuplicates() noexcept {
  Guarded([this] { ports_.dialogs.ShowDuplicatesDialog(); });
  return 1;
}

int32_t AddinSession::MarrowfieldTest() noexcept {
  g_bTestMode = true;
  return MarrowfieldDialog();
}

}  // namespace marrowfield
