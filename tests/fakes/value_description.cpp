// Text forms of host values for the fake's record and for assertions.

#include "value_description.h"

#include <cstdio>

namespace marrowfield {
namespace {

std::string FormatNumber(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", number);
  return text;
}

}  // namespace

std::string DescribeValue(const XLOPER* value) {
  if (value == nullptr) return "null";
  switch (BaseType(*value)) {
    case xltypeNum:
      return "num:" + FormatNumber(value->val.num);
    case xltypeStr: {
      if (value->val.str == nullptr) return "str(null)";
      const auto length = static_cast<unsigned char>(value->val.str[0]);
      return "str:" + std::string(value->val.str + 1, length);
    }
    case xltypeBool:
      return "bool:" + std::to_string(value->val.xbool);
    case xltypeErr:
      return "err:" + std::to_string(value->val.err);
    case xltypeInt:
      return "int:" + std::to_string(value->val.w);
    case xltypeMissing:
      return "missing";
    case xltypeNil:
      return "nil";
    case xltypeMulti: {
      const auto& array = value->val.array;
      std::string text = "multi:" + std::to_string(array.rows) + "x" +
                         std::to_string(array.columns) + "[";
      const int cells = array.rows * array.columns;
      for (int i = 0; i < cells; ++i) {
        if (i > 0) text += "|";
        text += array.lparray == nullptr ? "null"
                                         : DescribeValue(&array.lparray[i]);
      }
      return text + "]";
    }
    default:
      return "type:" + std::to_string(value->xltype);
  }
}

}  // namespace marrowfield
