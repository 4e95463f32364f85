// LoadLibrary, GetProcAddress and FreeLibrary behind XllModule.

#include "xll_module.h"

#include <windows.h>

#include <stdexcept>

namespace marrowfield {

XllModule::XllModule(const std::string& path)
    : module_(LoadLibraryA(path.c_str())) {
  if (module_ == nullptr) {
    throw std::runtime_error("cannot load " + path + " (error " +
                             std::to_string(GetLastError()) + ")");
  }
}

XllModule::~XllModule() { FreeLibrary(static_cast<HMODULE>(module_)); }

void* XllModule::Export(const char* name) const {
  FARPROC function = GetProcAddress(static_cast<HMODULE>(module_), name);
  if (function == nullptr) {
    throw std::runtime_error(std::string("no export ") + name);
  }
  return reinterpret_cast<void*>(function);
}

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  const std::size_t slash = directory.find_last_of("\\/");
  return slash == std::string::npos ? std::string()
                                    : directory.substr(0, slash + 1);
}

}  // namespace marrowfield
