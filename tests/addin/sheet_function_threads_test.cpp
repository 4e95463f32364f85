// Thread-safe recalculation as Excel does it: functions registered with
// the thread-safe mark are called from several threads at once, with
// references the host reads for them and arrays, each result given back
// with xlAutoFree12 on the thread that got it. Every answer must be the
// one a lone call gives, and nothing may stay allocated.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "addin_driver.h"
#include "fake_xlcall32.h"
#include "sheet_function_rig.h"
#include "sheet_function_table.h"
#include "sheet_function_values.h"

namespace marrowfield {
namespace {

const std::vector<std::string> kNames = {
    "Smith",   "Smyth",  "Schmidt", "Jones",  "Johns",  "Catherine",
    "Kathryn", "Miller", "Muller",  "Taylor", "Tailor", "Brown",
    "Braun",   "Wilson", "Willson", "Moore",  "More",   "Clark"};

class SheetFunctionThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
    driver_->AutoOpen();
    FillColumn(0, kNames);
  }
  void TearDown() override {
    driver_->AutoClose();
    driver_.reset();
  }

  // The type text the add-in registered |procedure| with.
  static std::string TypeTextOf(const std::string& procedure) {
    for (int i = 0; i < fake_xl_registration_count(); ++i) {
      if (procedure == fake_xl_registration_text(i, 1)) {
        return fake_xl_registration_text(i, 2);
      }
    }
    return "";
  }

  // One round of calls: every function, references and arrays.
  static std::vector<std::string> Round(std::size_t shift) {
    WideArguments args;
    const int rows = static_cast<int>(kNames.size());
    std::vector<std::string> answers;
    for (std::size_t k = 0; k < kNames.size(); ++k) {
      const std::string& name = kNames[(k + shift) % kNames.size()];
      answers.push_back(
          CallWide("fMarrowfieldBest12",
                   {args.Utf8Text(name), args.Area(0, rows - 1, 0, 0),
                    args.Number(70)}));
      answers.push_back(
          CallWide("fMarrowfieldMatches12",
                   {args.Utf8Text(name), args.Row(kNames), args.Missing()}));
      answers.push_back(
          CallWide("fMarrowfieldBestScore12",
                   {args.Utf8Text(name), args.Area(0, rows - 1, 0, 0)}));
      answers.push_back(
          CallWide("fMarrowfieldScore12",
                   {args.Utf8Text(name), args.Utf8Text(kNames[k])}));
      answers.push_back(
          CallWide("fMarrowfieldPhones12", {args.Utf8Text(name)}));
      // GROUP runs a whole dedupe per call, in both modes.
      answers.push_back(
          CallWide("fMarrowfieldGroup12", {args.Area(0, rows - 1, 0, 0)}));
      answers.push_back(CallWide(
          "fMarrowfieldGroup12",
          {args.Row(kNames), args.Number(70), args.Utf8Text("tolerant")}));
    }
    // Back in table order, so every shift gives comparable answers.
    std::vector<std::string> ordered(answers.size());
    const std::size_t per = answers.size() / kNames.size();
    for (std::size_t k = 0; k < kNames.size(); ++k) {
      const std::size_t name = (k + shift) % kNames.size();
      for (std::size_t j = 0; j < per; ++j) {
        if (j == 3) {
          ordered[name * per + j] = "";  // pairs differ with the shift
        } else {
          ordered[name * per + j] = answers[k * per + j];
        }
      }
    }
    return ordered;
  }

  std::unique_ptr<AddinDriver> driver_;
};

TEST_F(SheetFunctionThreads, ThreadSafeFunctions_SameAnswersOnEveryThread) {
  for (const char* procedure :
       {"fMarrowfieldBest12", "fMarrowfieldMatches12",
        "fMarrowfieldBestScore12", "fMarrowfieldScore12",
        "fMarrowfieldPhones12", "fMarrowfieldGroup12"}) {
    const std::string type = TypeTextOf(procedure);
    ASSERT_FALSE(type.empty()) << procedure << " is not registered";
    ASSERT_EQ(type.back(), '$') << procedure << " is not thread-safe";
  }
  const std::vector<std::string> alone = Round(0);

  constexpr int kThreads = 6;
  constexpr int kRounds = 20;
  std::vector<std::vector<std::string>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &seen] {
      for (int r = 0; r < kRounds; ++r) {
        std::vector<std::string> answers =
            Round(static_cast<std::size_t>(t + r));
        if (r == 0 || answers != seen[static_cast<std::size_t>(t)]) {
          seen[static_cast<std::size_t>(t)] = std::move(answers);
          if (r > 0) return;  // a difference: keep it for the check
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(seen[static_cast<std::size_t>(t)], alone) << "thread " << t;
  }
  EXPECT_EQ(OutstandingSheetResults<XLOPER12>(), 0u);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

}  // namespace
}  // namespace marrowfield
