// The add-in's tab on Excel's ribbon, as far as it can be said without
// Windows: the names under which its COM add-in object is registered, the
// buttons with the callbacks Excel calls for them and the commands those
// run, and the customUI markup that Excel asks the object for. The COM
// object itself lives in win32/ribbon_addin.

#ifndef MARROWFIELD_ADDIN_RIBBON_UI_H_
#define MARROWFIELD_ADDIN_RIBBON_UI_H_

#include <array>
#include <string>

namespace marrowfield {

// The COM add-in's ProgID and class identifier (registry text form). Excel
// finds the add-in under the ProgID and creates it by the class.
constexpr const char* kRibbonProgId = "Marrowfield.Ribbon";
constexpr const char* kRibbonClassText =
    "{9B6E4EAA-263C-4DB0-9252-C601C7C98CAA}";
// What Excel's COM add-ins dialog shows.
constexpr const char* kRibbonFriendlyName = "Marrowfield ribbon";
constexpr const char* kRibbonDescription =
    "The Marrowfield tab of the Marrowfield phonetic search add-in";

// Registry keys under HKEY_CURRENT_USER, written at open and removed at
// close and by the uninstaller. The add-in's class and its ProgID go in the
// user's own classes, so no administrator is needed.
constexpr const char* kUserClassesKey = "Software\\Classes";
constexpr const char* kExcelAddinsKey =
    "Software\\Microsoft\\Office\\Excel\\Addins";
// Software\Classes\<ProgId>, Software\Classes\CLSID\<class> and
// Software\Microsoft\Office\Excel\Addins\<ProgId>.
std::string RibbonProgIdKey();
std::string RibbonClassKey();
std::string RibbonAddinKey();

// One button of the tab: its control id and label, the onAction callback
// Excel invokes by name through IDispatch when it is pressed, and the
// registered command that callback asks Excel to Run.
struct RibbonButton {
  const char* id;
  const char* label;
  const char* screentip;
  const char* onAction;
  const char* command;
};

// One array for the whole program (inline), so that a button found by
// FindRibbonCallback is an element of the array every file sees.
inline constexpr std::array<RibbonButton, 3> RibbonButtons = {{
    {"MarrowfieldSearch", "Search",
     "Search the sheet for names that sound alike", "MarrowfieldOnSearch",
     "fMarrowfieldDialog"},
    {"MarrowfieldDuplicates", "Find duplicates",
     "Find the names of the sheet that sound alike", "MarrowfieldOnDuplicates",
     "fMarrowfieldDuplicates"},
    {"MarrowfieldAbout", "About", "About Marrowfield", "MarrowfieldOnAbout",
     "fMarrowfieldAbout"},
}};

// The getImage callback every button names: it answers with the add-in's
// icon.
constexpr const char* kRibbonGetImage = "MarrowfieldGetImage";
constexpr const char* kRibbonTabId = "MarrowfieldTab";
constexpr const char* kRibbonTabLabel = "Marrowfield";
constexpr const char* kRibbonGroupId = "MarrowfieldGroup";
constexpr const char* kRibbonGroupLabel = "Phonetic search";
// The namespace of Office 2010's customUI, which Excel 2010 and later read.
constexpr const char* kCustomUiNamespace =
    "http://schemas.microsoft.com/office/2009/07/customui";

// The customUI markup: one tab of one group of the buttons above.
std::string RibbonCustomUi();

// The button whose onAction callback is |callback| (compared exactly, as
// Excel matches callback names), or null.
const RibbonButton* FindRibbonCallback(const std::string& callback);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_RIBBON_UI_H_
