// Reading an image's bitness from its headers, on images made here byte by
// byte: both machines the add-in is built for, another machine, and files
// that are no image or are cut short.

#include "image_bitness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "addin_choice.h"

namespace marrowfield {
namespace {

void Put(std::string* bytes, std::size_t at, uint32_t value, int width) {
  if (bytes->size() < at + width) bytes->resize(at + width, '\0');
  for (int i = 0; i < width; ++i) {
    (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

// A DOS stub pointing at a PE header at 0x80 with |machine|.
std::string Image(uint16_t machine) {
  std::string bytes(0x100, '\0');
  Put(&bytes, 0, 0x5A4D, 2);
  Put(&bytes, 0x3C, 0x80, 4);
  Put(&bytes, 0x80, 0x00004550, 4);
  Put(&bytes, 0x84, machine, 2);
  return bytes;
}

int BitnessOf(const std::string& bytes) {
  std::istringstream in(bytes);
  return ImageBitnessOf(in);
}

TEST(ImageBitness, TellsTheTwoX86MachinesApart) {
  EXPECT_EQ(BitnessOf(Image(0x014C)), 32);
  EXPECT_EQ(BitnessOf(Image(0x8664)), 64);
}

TEST(ImageBitness, OtherMachinesAndNonImagesAreZero) {
  EXPECT_EQ(BitnessOf(Image(0xAA64)), 0);  // ARM64
  std::string noSignature = Image(0x8664);
  noSignature[0x80] = 'X';
  EXPECT_EQ(BitnessOf(noSignature), 0);
  EXPECT_EQ(BitnessOf("PK\x03\x04 a zip, not a DLL"), 0);
  EXPECT_EQ(BitnessOf(Image(0x8664).substr(0, 0x82)), 0);
  EXPECT_EQ(BitnessOf(""), 0);
}

TEST(ImageBitness, UnreadableFileIsMinusOne) {
  EXPECT_EQ(ImageBitnessOfFile("/nonexistent/MarrowfieldExcel.xll"), -1);
}

TEST(CounterpartAddinPath, AddsOrDropsTheMarkBeforeTheExtension) {
  EXPECT_EQ(CounterpartAddinPath("C:\\A\\MarrowfieldExcel.xll", 32),
            "C:\\A\\MarrowfieldExcel32.xll");
  EXPECT_EQ(CounterpartAddinPath("C:\\A\\MarrowfieldExcel32.xll", 64),
            "C:\\A\\MarrowfieldExcel.xll");
  EXPECT_EQ(CounterpartAddinPath("C:\\A\\MarrowfieldExcel32.xll", 32),
            "C:\\A\\MarrowfieldExcel32.xll");
  EXPECT_EQ(CounterpartAddinPath("C:\\A\\MarrowfieldExcel.xll", 64),
            "C:\\A\\MarrowfieldExcel.xll");
  // A dot in a folder's name is not the extension.
  EXPECT_EQ(CounterpartAddinPath("C:\\v1.2\\addin", 32), "C:\\v1.2\\addin32");
}

TEST(IsAddinFileName, KnowsBothFilesInAnyCase) {
  EXPECT_TRUE(IsAddinFileName("MarrowfieldExcel.xll"));
  EXPECT_TRUE(IsAddinFileName("MARROWFIELDEXCEL32.XLL"));
  EXPECT_FALSE(IsAddinFileName("Marrowfield"));
  EXPECT_FALSE(IsAddinFileName("Helper.xll"));
}

}  // namespace
}  // namespace marrowfield
