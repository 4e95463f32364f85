// Choosing the add-in file, and the one-line reports when there is none.

#include "addin_choice.h"

#include <cctype>
#include <cstddef>

namespace marrowfield {
namespace {

constexpr const char* kAddinFileNames[] = {"MarrowfieldExcel.xll",
                                           "MarrowfieldExcel32.xll"};

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Bits(int bitness) { return std::to_string(bitness) + "-bit"; }

}  // namespace

std::string CounterpartAddinPath(const std::string& path, int bitness) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) dot = path.size();
  std::string stem = path.substr(0, dot);
  const std::string extension = path.substr(dot);
  const bool marked = stem.size() >= nameStart + 2 &&
                      stem.compare(stem.size() - 2, 2, "32") == 0;
  if (bitness == 32 && !marked) stem += "32";
  if (bitness == 64 && marked) stem.resize(stem.size() - 2);
  return stem + extension;
}

std::string ChooseAddinFile(const std::string& path, int excelBitness,
                            SetupSystem& system) {
  if (excelBitness != 32 && excelBitness != 64) return path;
  const int given = system.ImageBitness(path);
  if (given == excelBitness) return path;
  const std::string other = CounterpartAddinPath(path, excelBitness);
  const int found = other == path ? -1 : system.ImageBitness(other);
  if (found == excelBitness) return other;
  if (found < 0) {
    throw SetupFailure("\nThis Excel is " + Bits(excelBitness) +
                       "; its add-in " + other + " is missing.\n");
  }
  throw SetupFailure("\nThis Excel is " + Bits(excelBitness) + "; " + other +
                     " is not a " + Bits(excelBitness) + " add-in.\n");
}

bool IsAddinFileName(const std::string& name) {
  for (const char* file : kAddinFileNames) {
    if (SameText(name, file)) return true;
  }
  return false;
}

}  // namespace marrowfield
