// The host's members the installer calls, by Excel's published dispatch
// identifiers, and the class contexts it starts the host with. Excel fixes
// these numbers for every version.

#ifndef MARROWFIELD_SETUP_INSTALLER_MEMBERS_H_
#define MARROWFIELD_SETUP_INSTALLER_MEMBERS_H_

#include <cstdint>

#include "host_members.h"

namespace marrowfield {
namespace installer {

constexpr int32_t kWorkbooks = 0x023C;      // Application, property get
constexpr int32_t kAdd = 0x00B5;            // Workbooks and AddIns, method
constexpr int32_t kAddIns = 0x0225;         // Application, property get
constexpr int32_t kItem = 0x00AA;           // AddIns, property get
constexpr int32_t kInstalled = 0x0226;      // AddIn, property put
constexpr int32_t kClose = 0x0115;          // Workbook, method
constexpr int32_t kQuit = 0x012E;           // Application, method
constexpr int32_t kDisplayAlerts = 0x0157;  // Application, property put
constexpr int32_t kHwnd = 0x079E;           // Application, property get
constexpr int32_t kCount = 0x0076;          // AddIns, property get
constexpr int32_t kName = 0x006E;           // AddIn, property get
constexpr int32_t kFullName = 0x0121;       // AddIn, property get

constexpr const char* kHostProgId = "Excel.Application";
// The name the add-in gives Excel's add-in manager.
constexpr const char* kAddinTitle = "Marrowfield";

// The add-in's registry values the installer writes (and the add-in reads):
// the template of the sample test, shipped beside the XLL, and the version
// the search dialog shows in its title.
constexpr const char* kSampleWorkbookSetting = "SampleWorkBook";
constexpr const char* kVersionSetting = "Version";
constexpr const char* kSampleWorkbookFile = "customers.xlsx";

// In-process server, in-process handler and local server: a registered
// Excel of any kind will do.
constexpr uint32_t kHostClassContexts = 0x1 | 0x2 | 0x4;

// The add-in's one locale for every call (see host_members.h).
constexpr uint32_t kLocale = kLocaleEnglishUs;

}  // namespace installer
}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_INSTALLER_MEMBERS_H_
