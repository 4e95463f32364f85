// Initialises the engine once for a whole test program, for the tests that
// work out expected scores with the engine directly.
#ifndef MARROWFIELD_TESTS_CLI_ENGINE_ENVIRONMENT_H_
#define MARROWFIELD_TESTS_CLI_ENGINE_ENVIRONMENT_H_

#include <gtest/gtest.h>

#include "marrowfield.h"

namespace marrowfield {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(initialize(), 0); }
  void TearDown() override { un_initialize(); }
};

// One registration per program, however many files include this.
inline const ::testing::Environment* const kEngineEnvironment =
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_ENGINE_ENVIRONMENT_H_
