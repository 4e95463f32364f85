// The JSON output of the commands: an array with one object per line, so
// that line tools can still cut it up, and bytes that are not UTF-8 shown
// as U+FFFD instead of failing the whole output.
#ifndef MARROWFIELD_CLI_JSON_LINES_H_
#define MARROWFIELD_CLI_JSON_LINES_H_

#include <nlohmann/json.hpp>
#include <string>

namespace marrowfield {

// What comes before every object of the array but the first.
constexpr const char* kJsonLinesSeparator = ",\n  ";

class JsonLines {
 public:
  // Appends |object| as the array's next line.
  void Add(const nlohmann::ordered_json& object) {
    out_ += empty_ ? "\n  " : kJsonLinesSeparator;
    out_ += Dump(object);
    empty_ = false;
  }

  // |object| on one line, as Add writes it.
  static std::string Dump(const nlohmann::ordered_json& object) {
    return object.dump(-1, ' ', false,
                       nlohmann::json::error_handler_t::replace);
  }

  // Returns the whole array, "[]\n" when nothing was added.
  std::string Finish() const { return out_ + (empty_ ? "]\n" : "\n]\n"); }

 private:
  std::string out_ = "[";
  bool empty_ = true;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_JSON_LINES_H_
