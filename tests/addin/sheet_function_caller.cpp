// The rig's calls of the in-process entries. Entries are found by the names
// the add-in gave REGISTER; a name that is no entry fails the test.

#include <gtest/gtest.h>

#include <map>

#include "sheet_function_entries.h"
#include "sheet_function_rig.h"

namespace marrowfield {
namespace {

using Wide1 = XLOPER12*(MARROWFIELD_XLL_ENTRY*)(XLOPER12*);
using Wide2 = XLOPER12*(MARROWFIELD_XLL_ENTRY*)(XLOPER12*, XLOPER12*);
using Wide3 = XLOPER12*(MARROWFIELD_XLL_ENTRY*)(XLOPER12*, XLOPER12*, XLOPER12*);
using Narrow1 = XLOPER*(MARROWFIELD_XLL_ENTRY*)(XLOPER*);
using Narrow2 = XLOPER*(MARROWFIELD_XLL_ENTRY*)(XLOPER*, XLOPER*);
using Narrow3 = XLOPER*(MARROWFIELD_XLL_ENTRY*)(XLOPER*, XLOPER*, XLOPER*);

struct Entries {
  std::map<std::string, Wide1> wide1 = {
      {"fMarrowfieldPhones12", fMarrowfieldPhones12},
      {"fMarrowfieldCode12", fMarrowfieldCode12}};
  std::map<std::string, Wide2> wide2 = {
      {"fMarrowfieldScore12", fMarrowfieldScore12},
      {"fMarrowfieldBestScore12", fMarrowfieldBestScore12}};
  std::map<std::string, Wide3> wide3 = {
      {"fMarrowfieldBest12", fMarrowfieldBest12},
      {"fMarrowfieldMatches12", fMarrowfieldMatches12}};
  std::map<std::string, Narrow1> narrow1 = {
      {"fMarrowfieldPhones", fMarrowfieldPhones},
      {"fMarrowfieldCode", fMarrowfieldCode}};
  std::map<std::string, Narrow2> narrow2 = {
      {"fMarrowfieldScore", fMarrowfieldScore},
      {"fMarrowfieldBestScore", fMarrowfieldBestScore}};
  std::map<std::string, Narrow3> narrow3 = {
      {"fMarrowfieldBest", fMarrowfieldBest},
      {"fMarrowfieldMatches", fMarrowfieldMatches}};
};

const Entries& TheEntries() {
  static const Entries entries;
  return entries;
}

}  // namespace

std::string CallWide(const std::string& procedure,
                     const std::vector<XLOPER12*>& args) {
  const Entries& entries = TheEntries();
  XLOPER12* result = nullptr;
  if (args.size() == 1 && entries.wide1.count(procedure)) {
    result = entries.wide1.at(procedure)(args[0]);
  } else if (args.size() == 2 && entries.wide2.count(procedure)) {
    result = entries.wide2.at(procedure)(args[0], args[1]);
  } else if (args.size() == 3 && entries.wide3.count(procedure)) {
    result = entries.wide3.at(procedure)(args[0], args[1], args[2]);
  } else {
    ADD_FAILURE() << "no Excel12 entry " << procedure << " taking "
                  << args.size() << " arguments";
    return "none";
  }
  EXPECT_NE(result->xltype & xlbitDLLFree, 0u) << procedure;
  const std::string described = DescribeResult(result);
  xlAutoFree12(result);
  return described;
}

std::string CallNarrow(const std::string& procedure,
                       const std::vector<XLOPER*>& args) {
  const Entries& entries = TheEntries();
  XLOPER* result = nullptr;
  if (args.size() == 1 && entries.narrow1.count(procedure)) {
    result = entries.narrow1.at(procedure)(args[0]);
  } else if (args.size() == 2 && entries.narrow2.count(procedure)) {
    result = entries.narrow2.at(procedure)(args[0], args[1]);
  } else if (args.size() == 3 && entries.narrow3.count(procedure)) {
    result = entries.narrow3.at(procedure)(args[0], args[1], args[2]);
  } else {
    ADD_FAILURE() << "no Excel4 entry " << procedure << " taking "
                  << args.size() << " arguments";
    return "none";
  }
  EXPECT_NE(result->xltype & xlbitDLLFree, 0) << procedure;
  const std::string described = DescribeResult(result);
  xlAutoFree(result);
  return described;
}

}  // namespace marrowfield
