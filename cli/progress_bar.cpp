// The bar redraws at most once per percent, so a 200 000-cell search writes
// about a hundred short lines to the terminal, not one per cell.
#include "progress_bar.h"

#include <unistd.h>

namespace marrowfield {

namespace {

constexpr std::size_t kBarWidth = 30;

int Percent(std::size_t done, std::size_t total) {
  if (total == 0) return 100;
  if (done >= total) return 100;
  return static_cast<int>(done * 100 / total);
}

}  // namespace

bool ShouldShowProgress(std::size_t totalCells) {
  return totalCells > kProgressCellThreshold && isatty(STDERR_FILENO) == 1;
}

std::string RenderProgressLine(std::size_t done, std::size_t total) {
  const int percent = Percent(done, total);
  const std::size_t filled =
      kBarWidth * static_cast<std::size_t>(percent) / 100;
  std::string line = "[";
  line.append(filled, '#');
  line.append(kBarWidth - filled, '.');
  line += "] ";
  const std::string percentText = std::to_string(percent);
  line.append(3 - percentText.size(), ' ');
  line += percentText + "%  " + std::to_string(done < total ? done : total) +
          "/" + std::to_string(total) + " cells";
  return line;
}

ProgressBar::ProgressBar(std::FILE* stream, std::size_t total, bool enabled)
    : stream_(stream), total_(total), enabled_(enabled) {}

ProgressBar::~ProgressBar() {
  if (!enabled_ || lastPercent_ < 0) return;
  // Blank the line and return to its start, leaving the terminal clean.
  const std::string blank(RenderProgressLine(total_, total_).size(), ' ');
  std::fprintf(stream_, "\r%s\r", blank.c_str());
  std::fflush(stream_);
}

void ProgressBar::Update(std::size_t done) {
  if (!enabled_) return;
  const int percent = Percent(done, total_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  std::fprintf(stream_, "\r%s", RenderProgressLine(done, total_).c_str());
  std::fflush(stream_);
}

}  // namespace marrowfield
