// The rig's calls of the in-process entries. Entries are found by the names
// the add-in gave REGISTER; a name that is no entry fails the test. A call
// with fewer arguments than the entry takes passes the rest as missing
// values, as Excel does for arguments left out of a formula.

#include <gtest/gtest.h>

#include <map>

#include "sheet_function_entries.h"
#include "sheet_function_rig.h"

namespace marrowfield {
namespace {

template <typename Value>
using Entry1 = Value*(MARROWFIELD_XLL_ENTRY*)(Value*);
template <typename Value>
using Entry3 = Value*(MARROWFIELD_XLL_ENTRY*)(Value*, Value*, Value*);
template <typename Value>
using Entry4 = Value*(MARROWFIELD_XLL_ENTRY*)(Value*, Value*, Value*, Value*);

template <typename Value>
struct EntriesOf {
  std::map<std::string, Entry1<Value>> one;
  std::map<std::string, Entry3<Value>> three;
  std::map<std::string, Entry4<Value>> four;
};

const EntriesOf<XLOPER12>& WideEntries() {
  static const EntriesOf<XLOPER12> entries = {
      {{"fMarrowfieldPhones12", fMarrowfieldPhones12},
       {"fMarrowfieldCode12", fMarrowfieldCode12}},
      {{"fMarrowfieldScore12", fMarrowfieldScore12},
       {"fMarrowfieldBestScore12", fMarrowfieldBestScore12},
       {"fMarrowfieldGroup12", fMarrowfieldGroup12}},
      {{"fMarrowfieldBest12", fMarrowfieldBest12},
       {"fMarrowfieldMatches12", fMarrowfieldMatches12}}};
  return entries;
}

const EntriesOf<XLOPER>& NarrowEntries() {
  static const EntriesOf<XLOPER> entries = {
      {{"fMarrowfieldPhones", fMarrowfieldPhones},
       {"fMarrowfieldCode", fMarrowfieldCode}},
      {{"fMarrowfieldScore", fMarrowfieldScore},
       {"fMarrowfieldBestScore", fMarrowfieldBestScore},
       {"fMarrowfieldGroup", fMarrowfieldGroup}},
      {{"fMarrowfieldBest", fMarrowfieldBest},
       {"fMarrowfieldMatches", fMarrowfieldMatches}}};
  return entries;
}

// Calls |procedure| with |args| padded with |missing|; null when there is
// no such entry or too many arguments were given.
template <typename Value>
Value* CallEntry(const EntriesOf<Value>& entries, const std::string& procedure,
                 std::vector<Value*> args, Value* missing) {
  std::size_t arity = 0;
  if (entries.one.count(procedure)) arity = 1;
  if (entries.three.count(procedure)) arity = 3;
  if (entries.four.count(procedure)) arity = 4;
  if (arity == 0 || args.empty() || args.size() > arity) return nullptr;
  args.resize(arity, missing);
  switch (arity) {
    case 1:
      return entries.one.at(procedure)(args[0]);
    case 3:
      return entries.three.at(procedure)(args[0], args[1], args[2]);
    default:
      return entries.four.at(procedure)(args[0], args[1], args[2], args[3]);
  }
}

}  // namespace

std::string CallWide(const std::string& procedure,
                     const std::vector<XLOPER12*>& args) {
  XLOPER12 missing{};
  missing.xltype = xltypeMissing;
  XLOPER12* result = CallEntry(WideEntries(), procedure, args, &missing);
  if (result == nullptr) {
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
  XLOPER missing{};
  missing.xltype = xltypeMissing;
  XLOPER* result = CallEntry(NarrowEntries(), procedure, args, &missing);
  if (result == nullptr) {
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
