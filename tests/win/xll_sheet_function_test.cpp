// The worksheet functions of the real MarrowfieldExcel.xll under Wine: the
// test program stands in for Excel's process (it exports MdCallBack12), so
// the XLL registers its functions through Excel12 with the thread-safe
// mark; the test then finds each function by the procedure name it
// registered, calls it from several threads at once with a reference into
// the fake host's sheet, and gives every result back with xlAutoFree12.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "addin_driver.h"
#include "fake_xlcall32.h"
#include "host_callback_library.h"
#include "sheet_function_rig.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

// Excel calls them with the Windows API convention.
using Best = XLOPER12*(MARROWFIELD_XLCALL_STDCALL*)(XLOPER12*, XLOPER12*,
                                                    XLOPER12*, XLOPER12*);
using Group = XLOPER12*(MARROWFIELD_XLCALL_STDCALL*)(XLOPER12*, XLOPER12*,
                                                     XLOPER12*);
using Free12 = void(MARROWFIELD_XLCALL_STDCALL*)(XLOPER12*);
using Compare = int (*)(const char*, const char*);

const std::vector<std::string> kNames = {
    "Smyth", "Jones", "Smith", "Miller", "Muller", "Kathryn", "Catherine"};

// The registration of |procedure|: its type text, or "" when none.
std::string TypeTextOf(const std::string& procedure, bool* wide) {
  for (int i = 0; i < fake_xl_registration_count(); ++i) {
    if (procedure == fake_xl_registration_text(i, 1)) {
      *wide = fake_xl_registration_wide(i) == 1;
      return fake_xl_registration_text(i, 2);
    }
  }
  return "";
}

TEST(XllSheetFunctions, RegisteredThreadSafe_SameAnswerOnEveryThread) {
  fake_xl_reset();
  std::unique_ptr<AddinDriver> driver = MakeAddinDriver();
  fake_xl_set_addin_path(driver->AddinPath().c_str());
  ASSERT_EQ(driver->AutoOpen(), 1);
  EXPECT_EQ(fake_xl_refused_calls(), 0);
  bool wide = false;
  const std::string type = TypeTextOf("fMarrowfieldBest12", &wide);
  ASSERT_EQ(type, "QQUQQ$");
  EXPECT_TRUE(wide);

  const XllModule xll(ProgramDirectory() + kXllFileName);
  const auto best = xll.Get<Best>("fMarrowfieldBest12");
  const auto free12 = xll.Get<Free12>("xlAutoFree12");
  const auto compare = xll.Get<Compare>("compare_words");
  FillColumn(0, kNames);
  int top = -1;
  std::string expected;
  for (const std::string& name : kNames) {
    const int score = compare("Smith", name.c_str());
    if (score > top) {
      top = score;
      expected = "str:" + name;
    }
  }

  constexpr int kThreads = 4;
  constexpr int kCalls = 50;
  std::vector<std::vector<std::string>> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      WideArguments args;
      for (int c = 0; c < kCalls; ++c) {
        XLOPER12* result =
            best(args.Utf8Text("Smith"),
                 args.Area(0, static_cast<int32_t>(kNames.size()) - 1, 0, 0),
                 args.Missing(), args.Missing());
        std::string answer = DescribeResult(result);
        if ((result->xltype & xlbitDLLFree) == 0) answer += " (not DLL-owned)";
        answers[static_cast<std::size_t>(t)].push_back(answer);
        free12(result);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (const auto& seen : answers) {
    EXPECT_EQ(seen, std::vector<std::string>(kCalls, expected));
  }
  driver->AutoClose();
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

// GROUP runs a whole dedupe of the library linked into the XLL on each
// call, on Excel's calculation threads: every thread must get the lone
// call's array, in memory it gives back through xlAutoFree12.
TEST(XllSheetFunctions, GroupFromSeveralThreads_SameArrayAsAloneCall) {
  fake_xl_reset();
  std::unique_ptr<AddinDriver> driver = MakeAddinDriver();
  fake_xl_set_addin_path(driver->AddinPath().c_str());
  ASSERT_EQ(driver->AutoOpen(), 1);
  bool wide = false;
  ASSERT_EQ(TypeTextOf("fMarrowfieldGroup12", &wide), "QUQQ$");
  EXPECT_TRUE(wide);

  const XllModule xll(ProgramDirectory() + kXllFileName);
  const auto group = xll.Get<Group>("fMarrowfieldGroup12");
  const auto free12 = xll.Get<Free12>("xlAutoFree12");
  FillColumn(0, kNames);
  const auto call = [&](WideArguments& args, const char* scoring) {
    XLOPER12* result =
        group(args.Area(0, static_cast<int32_t>(kNames.size()) - 1, 0, 0),
              args.Missing(),
              scoring != nullptr ? args.Utf8Text(scoring) : args.Missing());
    std::string answer = DescribeResult(result);
    if ((result->xltype & xlbitDLLFree) == 0) answer += " (not DLL-owned)";
    free12(result);
    return answer;
  };
  WideArguments alone;
  const std::string strict = call(alone, nullptr);
  const std::string tolerant = call(alone, "tolerant");
  // Smyth and Smith share a spelling, so the answer is a grouping at all.
  EXPECT_NE(strict.find("multi:7x1["), std::string::npos) << strict;

  constexpr int kThreads = 4;
  constexpr int kCalls = 10;
  std::vector<std::vector<std::string>> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      WideArguments args;
      for (int c = 0; c < kCalls; ++c) {
        answers[static_cast<std::size_t>(t)].push_back(
            call(args, (c + t) % 2 == 0 ? nullptr : "tolerant"));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    for (int c = 0; c < kCalls; ++c) {
      EXPECT_EQ(
          answers[static_cast<std::size_t>(t)][static_cast<std::size_t>(c)],
          (c + t) % 2 == 0 ? strict : tolerant)
          << "thread " << t << ", call " << c;
    }
  }
  driver->AutoClose();
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

}  // namespace
}  // namespace marrowfield
