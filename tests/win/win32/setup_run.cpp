// The program's standard output goes into a pipe read to its end before
// the wait, so a long report can never block the writer.

#include "setup_run.h"

#include <windows.h>

namespace marrowfield {

ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& arguments) {
  ProgramRun run;
  std::string commandLine = "\"" + program + "\"";
  for (const std::string& argument : arguments) {
    commandLine += " \"" + argument + "\"";
  }
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  run.started =
      CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0,
                     nullptr, nullptr, &startup, &process) != FALSE;
  CloseHandle(writeEnd);
  if (run.started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) &&
           got > 0) {
      run.output.append(buffer, got);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    run.status = status;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  return run;
}

}  // namespace marrowfield
