// The worker thread of Find duplicates. Results go from the worker to the
// host thread through the members guarded by done_: the worker writes them
// before it sets done_, the host thread reads them only after seeing it.

#include "duplicates_job.h"

#include <utility>

namespace marrowfield {

DuplicatesJob::DuplicatesJob(UsedCells cells, DuplicatesChoice choice,
                             int threads)
    : cells_(std::move(cells)),
      choice_(std::move(choice)),
      thread_([this, threads] { Run(threads); }) {}

DuplicatesJob::~DuplicatesJob() {
  Cancel();
  if (thread_.joinable()) thread_.join();
}

void DuplicatesJob::Run(int threads) noexcept {
  try {
    DedupeRun run;
    run.threads = threads;
    run.cancel = &DuplicatesJob::Cancelled;
    run.cancelState = this;
    run.progress = &DuplicatesJob::Progress;
    run.progressState = this;
    // A cancel before the dedupe starts is still a cancel.
    if (cancel_.load()) throw DedupeCancelled();
    rows_ = FindDuplicateRows(cells_, choice_, run);
  } catch (...) {
    failure_ = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    done_.store(true);
  }
  ended_.notify_all();
}

int DuplicatesJob::Cancelled(void* state) {
  return static_cast<DuplicatesJob*>(state)->cancel_.load() ? 1 : 0;
}

void DuplicatesJob::Progress(void* state, uint64_t done, uint64_t total) {
  auto* job = static_cast<DuplicatesJob*>(state);
  job->workTotal_.store(total);
  job->workDone_.store(done);
}

void DuplicatesJob::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  ended_.wait(lock, [this] { return done_.load(); });
}

int32_t DuplicatesJob::Percent() const noexcept {
  if (done_.load()) return 100;
  const uint64_t total = workTotal_.load();
  const uint64_t done = workDone_.load();
  if (total == 0) return 0;
  return static_cast<int32_t>(done >= total ? 100 : done * 100 / total);
}

std::vector<DuplicateRow> DuplicatesJob::TakeRows() {
  if (failure_) std::rethrow_exception(failure_);
  return std::move(rows_);
}

}  // namespace marrowfield
