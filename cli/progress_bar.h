// A progress bar for long searches, drawn on standard error and only when
// standard error is a terminal: pipes and files never receive it, and
// standard output is never touched.
#ifndef MARROWFIELD_CLI_PROGRESS_BAR_H_
#define MARROWFIELD_CLI_PROGRESS_BAR_H_

#include <cstddef>
#include <cstdio>
#include <string>

namespace marrowfield {

// Searches over more cells than this show a bar.
constexpr std::size_t kProgressCellThreshold = 50000;

// Returns true when a search of |totalCells| cells should show a bar: more
// than kProgressCellThreshold cells and standard error is a terminal.
bool ShouldShowProgress(std::size_t totalCells);

// Returns the bar's line for |done| of |total| cells, without line breaks:
// "[#####...............]  25%  50000/200000 cells".
std::string RenderProgressLine(std::size_t done, std::size_t total);

class ProgressBar {
 public:
  // Draws on |stream| when |enabled|; otherwise every call does nothing.
  ProgressBar(std::FILE* stream, std::size_t total, bool enabled);
  // Clears the bar's line.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Redraws when the percentage has changed since the last drawing.
  void Update(std::size_t done);

 private:
  std::FILE* stream_;
  std::size_t total_;
  bool enabled_;
  int lastPercent_ = -1;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_PROGRESS_BAR_H_
