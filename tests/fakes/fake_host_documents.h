/* The fake callback library's documents and screen: what xlcEcho, xlcNew
 * and xlcClose do to a host. xlcNew opens a document and makes it the
 * active one, xlcClose closes the active one, xlcEcho switches screen
 * updating; a test can make any of the three answer with a failure code or
 * an error value instead, as a host may. Part of the fake XLCALL32, so the
 * C functions read the same record natively and through XLCALL32.DLL. */
#ifndef MARROWFIELD_TESTS_FAKES_FAKE_HOST_DOCUMENTS_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_HOST_DOCUMENTS_H_

#ifdef __cplusplus
extern "C" {
#endif

/* Documents made with xlcNew and not yet closed. */
int fake_xl_open_documents(void);

/* 1 while the host updates its screen, 0 after xlcEcho(FALSE). */
int fake_xl_screen_updating(void);

/* The next calls of |function| answer with return code |code| when it is
 * not 0, else with the error value |errorCode| when it is not negative,
 * else as the host does. */
void fake_xl_set_command_answer(int function, int code, int errorCode);

#ifdef __cplusplus
} /* extern "C" */

#include <cstdint>
#include <map>
#include <utility>

#include "xloper.h"

namespace marrowfield {

class FakeHostDocuments {
 public:
  void Reset();
  // Answers xlcEcho, xlcNew and xlcClose; sets *|handled| to false for any
  // other function and returns 0.
  int32_t Answer(int32_t function, XLOPER* result, int32_t count,
                 XLOPER* const* args, bool* handled);
  void SetAnswer(int32_t function, int32_t code, int32_t errorCode);

  int openDocuments() const { return openDocuments_; }
  bool screenUpdating() const { return screenUpdating_; }

 private:
  int openDocuments_ = 0;
  bool screenUpdating_ = true;
  std::map<int32_t, std::pair<int32_t, int32_t>> answers_;
};

FakeHostDocuments& TheFakeHostDocuments();

}  // namespace marrowfield
#endif

#endif /* MARROWFIELD_TESTS_FAKES_FAKE_HOST_DOCUMENTS_H_ */
