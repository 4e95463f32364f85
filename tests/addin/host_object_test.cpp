// HostObject: each operation calls Excel's member with the right dispatch
// identifier, invoke kind and argument encoding, converts the answer, owns
// and releases object results once, does nothing on a null object and turns
// a failing call into HostCallError with the HRESULT.

#include "host_object.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host_call_error.h"
#include "host_members.h"
#include "scripted_port.h"

namespace marrowfield {
namespace {

using Answer = ScriptedPort::Answer;
using Args = std::vector<std::string>;

constexpr int kSelf = 1;
constexpr int kResult = 7;

Answer ObjectAnswer(int object) {
  Answer answer;
  answer.kind = Answer::Kind::kObject;
  answer.object = object;
  return answer;
}

// One operation and what it must send. |run| performs it on the object and
// returns the number of the object it got back (0 for none).
struct Operation {
  const char* name;
  std::function<int(HostObject&)> run;
  DispId member;
  InvokeKind kind;
  Args arguments;
  bool answersObject;
};

int ObjectNumber(const HostObject& object) {
  return ScriptedPort::Number(object.get());
}

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = {
      {"ActiveSheet",
       [](HostObject& o) { return ObjectNumber(o.ActiveSheet()); },
       kDispIdActiveSheet,
       InvokeKind::kPropertyGet,
       {},
       true},
      {"Workbooks",
       [](HostObject& o) { return ObjectNumber(o.Workbooks()); },
       kDispIdWorkbooks,
       InvokeKind::kPropertyGet,
       {},
       true},
      {"Worksheets",
       [](HostObject& o) { return ObjectNumber(o.Worksheets()); },
       kDispIdWorksheets,
       InvokeKind::kPropertyGet,
       {},
       true},
      {"Item",
       [](HostObject& o) { return ObjectNumber(o.Item(3)); },
       kDispIdItem,
       InvokeKind::kPropertyGet,
       {"I2:3"},
       true},
      {"UsedRange",
       [](HostObject& o) { return ObjectNumber(o.UsedRange()); },
       kDispIdUsedRange,
       InvokeKind::kPropertyGet,
       {},
       true},
      {"Add",
       [](HostObject& o) { return ObjectNumber(o.Add("C:\\s\\sample.xlt")); },
       kDispIdAdd,
       InvokeKind::kMethod,
       {"BSTR:C:\\s\\sample.xlt"},
       true},
      {"Cell",
       [](HostObject& o) {
         return ScriptedPort::Number(o.Cell(4, 9).TakeObject().get());
       },
       kDispIdDefaultMember,
       InvokeKind::kPropertyGet,
       {"I4:4", "I4:9"},
       true},
      {"Value",
       [](HostObject& o) {
         o.Value();
         return 0;
       },
       kDispIdValue,
       InvokeKind::kPropertyGet,
       {},
       false},
      {"Index",
       [](HostObject& o) {
         o.Index();
         return 0;
       },
       kDispIdIndex,
       InvokeKind::kPropertyGet,
       {},
       false},
      {"ActivateSheet",
       [](HostObject& o) {
         o.ActivateSheet();
         return 0;
       },
       kDispIdActivate,
       InvokeKind::kMethod,
       {},
       false},
      {"ActivateRange",
       [](HostObject& o) {
         o.ActivateRange();
         return 0;
       },
       kDispIdActivate,
       InvokeKind::kMethod,
       {},
       false},
  };
  return operations;
}

class HostObjectOperation : public ::testing::TestWithParam<Operation> {};

TEST_P(HostObjectOperation, CallsExcelsMemberWithItsEncoding) {
  ScriptedPort port;
  port.answers.push_back(GetParam().answersObject ? ObjectAnswer(kResult)
                                                  : Answer{});
  HostObject object(port, ScriptedPort::Handle(kSelf), true);

  const int got = GetParam().run(object);

  ASSERT_EQ(port.calls.size(), 1u);
  const ScriptedPort::Call& call = port.calls[0];
  EXPECT_EQ(call.object, kSelf);
  EXPECT_EQ(call.member, GetParam().member);
  EXPECT_EQ(call.kind, GetParam().kind);
  EXPECT_EQ(call.locale, 0x0409u);  // English (US), as VBA passes
  EXPECT_EQ(call.arguments, GetParam().arguments);
  if (GetParam().answersObject) {
    EXPECT_EQ(got, kResult);
    // The object that came back was released once, when its owner went.
    EXPECT_EQ(port.releases[kResult], 1);
  }
  EXPECT_EQ(port.releases[kSelf], 0);
}

TEST_P(HostObjectOperation, OnANullObject_CallsNothing) {
  ScriptedPort port;
  HostObject object;

  EXPECT_EQ(GetParam().run(object), 0);
  EXPECT_TRUE(port.calls.empty());
}

TEST_P(HostObjectOperation, FailingInvoke_RaisesHostCallErrorWithTheHresult) {
  ScriptedPort port;
  Answer failure;
  failure.hr = kDispEException;
  port.answers.push_back(failure);
  HostObject object(port, ScriptedPort::Handle(kSelf), false);

  try {
    GetParam().run(object);
    FAIL() << "no HostCallError";
  } catch (const HostCallError& error) {
    EXPECT_EQ(error.hresult(), kDispEException);
    EXPECT_NE(std::string(error.what()).find("scripted failure"),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, HostObjectOperation,
                         ::testing::ValuesIn(Operations()),
                         [](const auto& info) {
                           return std::string(info.param.name);
                         });

TEST(HostObjectResults, Index_ReadsTheInteger) {
  ScriptedPort port;
  Answer index;
  index.kind = Answer::Kind::kInt32;
  index.number = 4;
  port.answers.push_back(index);
  HostObject sheet(port, ScriptedPort::Handle(kSelf), true);

  EXPECT_EQ(sheet.Index(), 4);
}

TEST(HostObjectResults, ObjectOperationAnsweredWithNoObject_GivesANullObject) {
  ScriptedPort port;
  Answer text;
  text.kind = Answer::Kind::kString;
  text.text = "not an object";
  port.answers.push_back(text);
  HostObject application(port, ScriptedPort::Handle(kSelf), true);

  EXPECT_TRUE(application.ActiveSheet().IsNull());
}

TEST(HostObjectOwnership, ReleasesItsOwnReferenceOnce) {
  ScriptedPort port;
  {
    HostObject owner(port, ScriptedPort::Handle(kSelf), true);
    HostObject moved(std::move(owner));
    moved.Release();
    moved.Release();
  }
  EXPECT_EQ(port.releases[kSelf], 1);
}

TEST(HostObjectOwnership, WithoutReleaseFlag_NeverReleases) {
  ScriptedPort port;
  {
    HostObject borrowed(port, ScriptedPort::Handle(kSelf), false);
    borrowed.Release();
  }
  EXPECT_EQ(port.releases[kSelf], 0);
}

TEST(HostObjectOwnership, AssigningOver_ReleasesTheOldObjectOnce) {
  ScriptedPort port;
  HostObject first(port, ScriptedPort::Handle(1), true);
  first = HostObject(port, ScriptedPort::Handle(2), true);
  EXPECT_EQ(port.releases[1], 1);
  EXPECT_EQ(port.releases[2], 0);
  first = HostObject();
  EXPECT_EQ(port.releases[2], 1);
}

}  // namespace
}  // namespace marrowfield
