/* Identifiers of the add-in's resources: the search dialog, the Find
 * duplicates dialog, the About dialog, their controls, the logo bitmap.
 * Shared by the resource script and the dialog code, so both name a
 * control by the same number. The icon is named "IDI_ICON_SEARCH" by
 * text, not by number. */
#ifndef MARROWFIELD_ADDIN_RESOURCES_RESOURCE_IDS_H_
#define MARROWFIELD_ADDIN_RESOURCES_RESOURCE_IDS_H_

/* Search dialog and its controls. */
#define IDD_SEARCH_DIALOG 7039
#define IDC_SEARCH_TEXT 7021
#define IDC_PREV 7012
#define IDC_NEXT 7011
#define IDC_RESULTS 7022
#define IDC_HELP_BUTTON 7010
#define IDC_FEEDBACK 7009
#define IDC_REPORT_BUG 7014
#define IDC_ABOUT_BUTTON 7007
#define IDC_ACCURACY 7024
#define IDC_SEARCH_LOGO 7031

/* Find duplicates dialog and its controls. */
#define IDD_DUPLICATES_DIALOG 7040
#define IDC_DUP_COLUMN 7041
#define IDC_DUP_HEADER 7042
#define IDC_DUP_NOTE 7043
#define IDC_DUP_ACCURACY 7044
#define IDC_DUP_STRICT 7045
#define IDC_DUP_TOLERANT 7046
#define IDC_DUP_WORDS 7047
#define IDC_DUP_WHOLE 7048
#define IDC_DUP_PROGRESS 7049

/* About dialog and its controls. */
#define IDD_ABOUT_DIALOG 7036
#define IDC_ABOUT_LOGO 7006
#define IDC_ABOUT_TITLE 7028
#define IDC_LINK_PRODUCT 7035
#define IDC_MAKER_NOTICE 7026
#define IDC_INFORMATION 7032
#define IDC_CONTACT 7025
#define IDC_FAX 7029
#define IDC_LINK_MAIL 7027
#define IDC_LINK_MAKER 7034

/* The logo, 85 x 20 pixels, 24 bits per pixel. */
#define IDB_LOGO 9004

#endif /* MARROWFIELD_ADDIN_RESOURCES_RESOURCE_IDS_H_ */
