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

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets every call, menu, registration and handed-out value; the answer
 * code goes back to 0 and the add-in path to a default. */
void fake_xl_reset(void);

/* The path that xlGetName answers with. */
void fake_xl_set_addin_path(const char* path);

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

/* REGISTER and ADD.MENU calls refused (#VALUE!) because their arguments
 * break the documented grammar: type text, macro type, menu table shape,
 * position. */
int fake_xl_refused_calls(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MARROWFIELD_TESTS_FAKES_FAKE_XLCALL32_H_ */
