// AutomationValue and DispatchRef: each kind holds what it was made with,
// and an object reference is released once, whoever ends up owning it.

#include "automation_value.h"

#include <gtest/gtest.h>

#include <utility>

#include "scripted_port.h"

namespace marrowfield {
namespace {

TEST(DispatchRef, ReleasesOnceWhenDestroyed) {
  ScriptedPort port;
  { DispatchRef ref(port, ScriptedPort::Handle(1)); }
  EXPECT_EQ(port.releases[1], 1);
}

TEST(DispatchRef, MovingHandsTheReferenceOn) {
  ScriptedPort port;
  {
    DispatchRef first(port, ScriptedPort::Handle(1));
    DispatchRef second(std::move(first));
    EXPECT_FALSE(first);
    DispatchRef third;
    third = std::move(second);
    EXPECT_EQ(ScriptedPort::Number(third.get()), 1);
  }
  EXPECT_EQ(port.releases[1], 1);
}

TEST(DispatchRef, AssigningOverReleasesTheOldReference) {
  ScriptedPort port;
  DispatchRef ref(port, ScriptedPort::Handle(1));
  ref = DispatchRef(port, ScriptedPort::Handle(2));
  EXPECT_EQ(port.releases[1], 1);
  ref.Reset();
  ref.Reset();
  EXPECT_EQ(port.releases[2], 1);
}

TEST(DispatchRef, DetachLeavesTheReleaseToTheCaller) {
  ScriptedPort port;
  IDispatch* raw = nullptr;
  {
    DispatchRef ref(port, ScriptedPort::Handle(1));
    raw = ref.Detach();
  }
  EXPECT_EQ(port.releases[1], 0);
  EXPECT_EQ(ScriptedPort::Number(raw), 1);
}

TEST(AutomationValue, EachKindHoldsItsValue) {
  EXPECT_EQ(AutomationValue().kind(), ValueKind::kEmpty);
  EXPECT_EQ(AutomationValue::Int16(-3).int16(), -3);
  EXPECT_EQ(AutomationValue::Int32(70000).int32(), 70000);
  EXPECT_EQ(AutomationValue::Double(2.5).number(), 2.5);
  EXPECT_TRUE(AutomationValue::Boolean(true).boolean());
  EXPECT_EQ(AutomationValue::String("Smyth").text(), "Smyth");
  EXPECT_EQ(AutomationValue::Error(2042).error(), 2042);
  EXPECT_EQ(AutomationValue::Other(7).otherType(), 7);
  EXPECT_EQ(AutomationValue::Int16(1).kind(), ValueKind::kInt16);
  EXPECT_EQ(AutomationValue::Array(AutomationArray{}).kind(),
            ValueKind::kArray);
}

TEST(AutomationValue, ArrayIsIndexedFromOneRowByRow) {
  AutomationArray array;
  array.rows = 2;
  array.columns = 2;
  for (int i = 0; i < 4; ++i) array.cells.push_back(AutomationValue::Int32(i));
  EXPECT_EQ(array.At(1, 1).int32(), 0);
  EXPECT_EQ(array.At(1, 2).int32(), 1);
  EXPECT_EQ(array.At(2, 1).int32(), 2);
}

TEST(AutomationValue, TakeObjectMovesTheReferenceOut) {
  ScriptedPort port;
  {
    AutomationValue value =
        AutomationValue::Object(DispatchRef(port, ScriptedPort::Handle(1)));
    DispatchRef taken = value.TakeObject();
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(ScriptedPort::Number(taken.get()), 1);
    EXPECT_FALSE(AutomationValue::String("x").TakeObject());
  }
  EXPECT_EQ(port.releases[1], 1);
}

TEST(AutomationValue, ObjectInsideAnArrayIsReleasedWithIt) {
  ScriptedPort port;
  {
    AutomationArray array;
    array.rows = 1;
    array.columns = 1;
    array.cells.push_back(
        AutomationValue::Object(DispatchRef(port, ScriptedPort::Handle(3))));
    AutomationValue value = AutomationValue::Array(std::move(array));
    AutomationValue moved = std::move(value);
  }
  EXPECT_EQ(port.releases[3], 1);
}

}  // namespace
}  // namespace marrowfield
