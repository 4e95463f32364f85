// XllModule: MarrowfieldExcel.xll loaded into the test process the way
// Excel loads it (LoadLibrary by full path), unloaded again when the
// object goes, so each test starts with the add-in's state fresh.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_XLL_MODULE_H_
#define MARROWFIELD_TESTS_WIN_WIN32_XLL_MODULE_H_

#include <string>

namespace marrowfield {

class XllModule {
 public:
  // Loads |path|; throws std::runtime_error when it cannot be loaded.
  explicit XllModule(const std::string& path);
  ~XllModule();
  XllModule(const XllModule&) = delete;
  XllModule& operator=(const XllModule&) = delete;

  // The export |name|; throws std::runtime_error when it is missing.
  void* Export(const char* name) const;

  // Casts Export(name) to the function pointer type |Function|.
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(Export(name));
  }

 private:
  void* module_;
};

// The folder of the running test program, with a trailing backslash.
std::string ProgramDirectory();

// The add-in's file name in this build, beside the test programs: 32-bit
// Excel loads the 32-bit add-in, which ships under a name of its own.
#if defined(_WIN64)
constexpr const char kXllFileName[] = "MarrowfieldExcel.xll";
#else
constexpr const char kXllFileName[] = "MarrowfieldExcel32.xll";
#endif

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_XLL_MODULE_H_
