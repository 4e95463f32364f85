// ComAddinConnection: puts the Marrowfield tab on Excel's ribbon from the
// XLL. At xlAutoOpen it registers the add-in's COM class for the user
// (HKEY_CURRENT_USER: the class and ProgID under Software\Classes, the
// add-in under Excel's Addins key with LoadBehavior 0, so Excel never
// loads it on its own), registers the class object in the running process
// (CoRegisterClassObject, so Excel's CoCreateInstance finds it without any
// export of the XLL), and has Excel connect it: Application.COMAddIns,
// Update, Item(ProgID).Connect = True. At xlAutoClose it disconnects and
// takes everything back. Where Excel cannot connect it (no COMAddIns, as
// in hosts without a ribbon; Connect refused by policy; keys that cannot
// be written), the menu the add-in also adds is the way in, and exactly
// one line on the debugger output says why.

#ifndef MARROWFIELD_ADDIN_WIN32_COM_ADDIN_REGISTRATION_H_
#define MARROWFIELD_ADDIN_WIN32_COM_ADDIN_REGISTRATION_H_

#include <windows.h>

#include <string>

#include "ribbon_addin.h"

namespace marrowfield {

class DebugOutput;

// Writes the keys for the add-in whose class lives in |modulePath|.
// Returns ERROR_SUCCESS or the first failure, after which none is left.
LONG WriteComAddinKeys(const std::wstring& modulePath) noexcept;
// Deletes the three keys (the uninstaller does this too).
void RemoveComAddinKeys() noexcept;

class ComAddinConnection {
 public:
  // |debug| must outlive the object; |module| is the XLL.
  ComAddinConnection(DebugOutput& debug, HMODULE module)
      : debug_(debug), module_(module), factory_(debug, module) {}
  // Runs as the XLL unloads, under the loader lock, where no call into
  // Excel is safe: a connection xlAutoClose did not end is left to the
  // ending process (the keys name no add-in Excel loads by itself, and the
  // uninstaller removes them).
  ~ComAddinConnection() { static_cast<void>(addin_.release()); }
  ComAddinConnection(const ComAddinConnection&) = delete;
  ComAddinConnection& operator=(const ComAddinConnection&) = delete;

  // Connects through |application| (Excel's, or null when the add-in has
  // none). Does nothing when already connected. Never throws.
  void Connect(IDispatch* application) noexcept;
  // Connect = False, then the class object and the keys go. Never throws.
  void Disconnect() noexcept;

  bool connected() const { return addin_ != nullptr; }

 private:
  // Undoes what Connect did so far.
  void Withdraw() noexcept;
  void Report(const char* step, HRESULT hr) noexcept;

  DebugOutput& debug_;
  HMODULE module_;
  RibbonAddinFactory factory_;
  bool keysWritten_ = false;
  bool classRegistered_ = false;
  DWORD classCookie_ = 0;
  DispatchOwner addin_;  // the COMAddIn, while connected
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_COM_ADDIN_REGISTRATION_H_
