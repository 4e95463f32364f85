/* The fake of Excel's callback library XLCALL32, seen from the tests.
 *
 * The fake defines Excel4 and Excel4v and answers them as Excel does for
 * the functions the add-in uses; it records every call with its function
 * number and its arguments decoded as text. Native tests link it in;
 * Windows tests load it as XLCALL32.DLL (ordinals 2 and 3, and these
 * functions by name), so the add-in under test and the test read one
 * and the same record. */
#ifndef MARROWFIELD_TESTS_FAKES_FAKE_XLCALL32_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_XLCALL32_H_

#if defined(_WIN32) && !defined(_WIN64)
#define MARROWFIELD_FAKE_STDCALL __stdcall
#else
#define MARROWFIELD_FAKE_STDCALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets every call, menu, registration and handed-out value; the answer
 * code goes back to 0 and the add-in path to a default. */
void fake_xl_reset(void);

/* The path that xlGetName answers with. */
void fake_xl_set_addin_path(const char* path);

/* The handle of the host's main window that xlGetHwnd answers with: its
 * low 16 bits through Excel4, the whole 32 bits through Excel12. */
void fake_xl_set_main_window(long long handle);

/* Answers every following call with |code| (0: answer as Excel does). The
 * call is still recorded; no result is written. */
void fake_xl_set_return_code(int code);

/* Recorded calls, oldest first. Out-of-range indexes give -1 or "". */
int fake_xl_call_count(void);
int fake_xl_call_function(int call);
int fake_xl_call_arg_count(int call);
const char* fake_xl_call_arg(int call, int arg);

/* Menus named |name| (ampersands and case ignored) on the worksheet bar. */
int fake_xl_menu_count(const char* name);

/* Takes every menu off the bars, as a user may do by hand. */
void fake_xl_remove_menus(void);

/* Values that carry host memory, handed out and not yet given back. */
int fake_xl_outstanding_values(void);

/* xlFree calls for memory the fake never handed out. */
int fake_xl_bad_frees(void);

/* The 1-based place of menu |name| on the worksheet bar, which starts with
 * Excel's own menus File .. Help; 0 when it is not there. */
int fake_xl_menu_position(const char* name);

/* The 1-based place of the item |item| in menu |menu| on the worksheet
 * bar (ampersands and case ignored); 0 when either is not there. */
int fake_xl_menu_item_position(const char* menu, const char* item);

/* REGISTER and ADD.MENU calls refused (#VALUE!) because their arguments
 * break the documented grammar: type text, macro type, menu table shape,
 * position. */
int fake_xl_refused_calls(void);

/* Whether the host offers Excel12 (1, the default after a reset) or only
 * Excel4 (0), as Excel before 2007 did. Native programs only: under Wine
 * the program that stands in for Excel decides by exporting MdCallBack12. */
void fake_xl_offer_excel12(int offered);

/* Excel's MdCallBack12: the Excel12 interface of the fake. A program that
 * stands in for Excel exports it under that name. */
int MARROWFIELD_FAKE_STDCALL fake_xl_callback12(int xlfn, int count,
                                                void** opers, void* operRes);

/* Excel12 calls recorded, and the function number of one of them. */
int fake_xl_call12_count(void);
int fake_xl_call12_function(int call);

/* REGISTER calls the fake accepted, oldest first: argument |arg| as UTF-8
 * text ("" for the macro type and for missing arguments), whether it came
 * through Excel12, and whether it is still registered (not unregistered). */
int fake_xl_registration_count(void);
const char* fake_xl_registration_text(int registration, int arg);
int fake_xl_registration_arg_count(int registration);
int fake_xl_registration_wide(int registration);
int fake_xl_registration_active(int registration);

/* Cells of the fake's sheets, 0-based, sheets numbered from 1 (xltypeSRef
 * references point into sheet 1). Text is UTF-8. */
void fake_xl_set_cell_text(int sheet, int row, int column, const char* text);
void fake_xl_set_cell_number(int sheet, int row, int column, double number);
void fake_xl_set_cell_boolean(int sheet, int row, int column, int flag);
void fake_xl_set_cell_error(int sheet, int row, int column, int error);
void fake_xl_clear_cells(void);
/* A closed sheet's cells cannot be read (xlCoerce fails). */
void fake_xl_set_sheet_closed(int sheet, int closed);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MARROWFIELD_TESTS_FAKES_FAKE_XLCALL32_H_ */
