// Flite answers a long word with one list cell per phone. Freeing that
// list must not take a stack frame per cell: a word of a million letters
// (below the engine's length limit) would end the process. The tests run
// on a thread with a small stack, so that a recursive free overflows it at
// a size that transcribes quickly.

#include <pthread.h>

#include <functional>

#include "engine_fixture.h"

extern "C" {
#include <flite/cst_val.h>
}

namespace marrowfield {
namespace {

// Runs |body| to its end on a thread with a 256 KiB stack.
void OnSmallStack(std::function<void()> body) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &body), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(FliteValueTest, LongListIsFreedWithoutRecursion) {
  OnSmallStack([] {
    cst_val* list = nullptr;
    for (int n = 0; n < 100000; ++n) list = cons_val(string_val("aa"), list);
    FliteValue owned(list);
    EXPECT_EQ(ConvertFliteAnswer(std::move(owned)).size(), 100000u);
  });
}

using LongWordTest = EngineTest;

TEST_F(LongWordTest, LongWordIsTranscribedAndCompared) {
  std::string word;
  while (word.size() < 30000) word += "abcdefghij";
  OnSmallStack([&] {
    for (int mode : {kModeLexicon, kModeLtsOnly}) {
      EXPECT_GT(matcher.GetPhones(word.c_str(), mode).ids.size(), 25000u);
    }
    EXPECT_EQ(DistanceToPercentage(matcher.CompareWords(word, word)), 100);
  });
}

}  // namespace
}  // namespace marrowfield
