// The bitness of a Windows image (an .xll is a DLL) from its headers: the
// DOS header's pointer to the PE signature, then the COFF header's machine
// field. Read with the standard library, so it is the same code on every
// platform and in the tests.

#ifndef MARROWFIELD_SETUP_IMAGE_BITNESS_H_
#define MARROWFIELD_SETUP_IMAGE_BITNESS_H_

#include <istream>
#include <string>

namespace marrowfield {

// 32 for an x86 image (machine 0x014C), 64 for an x64 image (0x8664), 0 for
// anything else: another machine, not an image, or too short.
int ImageBitnessOf(std::istream& image);

// The file at |path| opened as binary: as ImageBitnessOf, or -1 when the
// file cannot be opened.
int ImageBitnessOfFile(const std::string& path);

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_IMAGE_BITNESS_H_
