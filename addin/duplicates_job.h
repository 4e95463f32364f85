// DuplicatesJob: Find duplicates' dedupe on a worker thread of its own, so
// that the dialog stays responsive, shows progress and can cancel. The job
// owns its copy of the cells and touches nothing of the host: the host is
// called only from its own thread, before the job starts and after it ends.

#ifndef MARROWFIELD_ADDIN_DUPLICATES_JOB_H_
#define MARROWFIELD_ADDIN_DUPLICATES_JOB_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "duplicates_sheet.h"

namespace marrowfield {

class DuplicatesJob {
 public:
  // Starts FindDuplicateRows(cells, choice) at once on a new thread, the
  // dedupe itself on |threads| threads (0: the hardware's concurrency).
  DuplicatesJob(UsedCells cells, DuplicatesChoice choice, int threads);
  // Cancels the job and waits for its thread.
  ~DuplicatesJob();
  DuplicatesJob(const DuplicatesJob&) = delete;
  DuplicatesJob& operator=(const DuplicatesJob&) = delete;

  // Asks the dedupe to stop; it does within milliseconds. Any thread.
  void Cancel() noexcept { cancel_.store(true); }
  bool Done() const noexcept { return done_.load(); }
  // Blocks until the job has ended.
  void Wait();
  // The work done so far, 0-100.
  int32_t Percent() const noexcept;

  // The rows found. Rethrows what ended the job instead: DedupeCancelled
  // when it was cancelled. REQUIRES: Done(); called once.
  std::vector<DuplicateRow> TakeRows();

 private:
  void Run(int threads) noexcept;
  static int Cancelled(void* state);
  static void Progress(void* state, uint64_t done, uint64_t total);

  UsedCells cells_;
  DuplicatesChoice choice_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  std::atomic<uint64_t> workDone_{0};
  std::atomic<uint64_t> workTotal_{0};
  std::vector<DuplicateRow> rows_;
  std::exception_ptr failure_;
  std::mutex mutex_;
  std::condition_variable ended_;
  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DUPLICATES_JOB_H_
