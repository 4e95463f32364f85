// Excel's members as its type library publishes them, for the objects the
// fake Excel models: each member's name, dispatch identifier and the kinds
// of invocation it is declared with (method, property get, property put).
// A dispatcher that works from type information, as Excel's does, finds a
// member by identifier and then matches the caller's invoke flags against
// the declared kinds; a call whose flags include none of them is answered
// DISP_E_MEMBERNOTFOUND. The fake answers the same way from this table.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MEMBER_TABLE_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MEMBER_TABLE_H_

#include <cstdint>
#include <string>

#include "fake_excel_model.h"

namespace marrowfield {

// Invoke flags, as IDispatch::Invoke takes them.
constexpr uint16_t kModelMethod = 1;
constexpr uint16_t kModelGet = 2;
constexpr uint16_t kModelPut = 4;

struct ModelMember {
  ModelKind owner;
  const char* name;
  int32_t dispId;
  uint16_t kinds;  // kModelMethod | kModelGet | kModelPut, as declared
};

// Whether |a| and |b| are the same name ignoring ASCII case, as Excel
// matches member and function names.
bool SameModelName(const std::string& a, const char* b);

// The member of objects of |owner| called |name| (ignoring ASCII case), or
// null when Excel's type library declares none.
const ModelMember* FindModelMember(ModelKind owner, const std::string& name);

// The member of objects of |owner| with identifier |dispId|, or null.
const ModelMember* FindModelMember(ModelKind owner, int32_t dispId);

// Whether Excel's dispatcher accepts |invokeFlags| for |member|: the flags
// must include at least one kind the member is declared with.
constexpr bool AcceptsInvokeFlags(const ModelMember& member,
                                  uint16_t invokeFlags) {
  return (member.kinds & invokeFlags) != 0;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MEMBER_TABLE_H_
