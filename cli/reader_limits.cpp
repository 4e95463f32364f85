// Accounting against the reader limits, and the sizes in their messages.
#include "reader_limits.h"

#include "input_error.h"

namespace marrowfield {

std::string DescribeBytes(uint64_t bytes) {
  if (bytes >= kGibibyte && bytes % kGibibyte == 0) {
    return std::to_string(bytes / kGibibyte) + " GiB";
  }
  if (bytes >= kMebibyte && bytes % kMebibyte == 0) {
    return std::to_string(bytes / kMebibyte) + " MiB";
  }
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

void CellBudget::Add(const GridCell& cell) {
  if (cells_ >= limits_.cells) {
    throw InputError("more than " + std::to_string(limits_.cells) +
                     " cells (the limit for one file or sheet)");
  }
  if (cell.text.size() > limits_.cellTextBytes - textBytes_) {
    throw InputError("more than " + DescribeBytes(limits_.cellTextBytes) +
                     " of cell text (the limit for one file or sheet)");
  }
  ++cells_;
  textBytes_ += cell.text.size();
}

}  // namespace marrowfield
