// The AddinDriver for Windows: the real MarrowfieldExcel.xll, loaded from
// beside the test program, driven through its exported entry points. The
// fake XLCALL32.DLL sits beside it too, so the XLL's imports by ordinal
// reach the same fake the test reads.

#include <memory>

#include "addin_driver.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

// Excel's calling convention for the entry points.
#if defined(_WIN64)
#define XLL_CALL
#else
#define XLL_CALL __stdcall
#endif

using EntryFunction = int(XLL_CALL*)();
using ValueFunction = XLOPER*(XLL_CALL*)(XLOPER*);
using CompareFunction = int (*)(const char*, const char*);

class XllAddinDriver : public AddinDriver {
 public:
  XllAddinDriver()
      : path_(ProgramDirectory() + kXllFileName), xll_(path_) {}

  int32_t AutoOpen() override {
    return xll_.Get<EntryFunction>("xlAutoOpen")();
  }
  int32_t AutoClose() override {
    return xll_.Get<EntryFunction>("xlAutoClose")();
  }
  XLOPER* AutoRegister(XLOPER* name) override {
    return xll_.Get<ValueFunction>("xlAutoRegister")(name);
  }
  XLOPER* AddInManagerInfo(XLOPER* action) override {
    return xll_.Get<ValueFunction>("xlAddInManagerInfo")(action);
  }
  int CompareWords(const char* word1, const char* word2) override {
    return xll_.Get<CompareFunction>("compare_words")(word1, word2);
  }
  std::string AddinPath() const override { return path_; }

 private:
  std::string path_;
  XllModule xll_;
};

}  // namespace

std::unique_ptr<AddinDriver> MakeAddinDriver() {
  return std::make_unique<XllAddinDriver>();
}

}  // namespace marrowfield
