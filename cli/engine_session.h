// Keeps the engine initialised for the lifetime of one command.
#ifndef MARROWFIELD_CLI_ENGINE_SESSION_H_
#define MARROWFIELD_CLI_ENGINE_SESSION_H_

#include <cstdio>

#include "marrowfield.h"

namespace marrowfield {

class EngineSession {
 public:
  EngineSession() {
    // The engine stays usable after a failed table check and has already
    // said so on standard error; carrying on gives the user an answer.
    if (initialize() != 0) {
      std::fputs(
          "marrowfield: warning: the engine's phone tables failed "
          "their consistency check\n",
          stderr);
    }
  }
  ~EngineSession() { un_initialize(); }
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_ENGINE_SESSION_H_
