// ReportComError's five lines and the message text of an HRESULT: the
// system's text without its line break, else the IDispatch and unknown-
// error fallbacks.

#include "com_error_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "fake_automation_port.h"
#include "fake_excel_model.h"

namespace marrowfield {
namespace {

struct MessageCase {
  const char* name;
  uint32_t hr;
  const char* systemText;  // null: the system has none
  std::string meaning;
};

// Test names in ctest show the case, not its bytes.
void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class ErrorMessageTextTest : public ::testing::TestWithParam<MessageCase> {
 protected:
  FakeExcelModel model_;
  FakeAutomationPort port_{model_};
};

TEST_P(ErrorMessageTextTest, GivesSystemTextOrFallback) {
  const MessageCase& c = GetParam();
  const auto hr = static_cast<HResult>(c.hr);
  if (c.systemText != nullptr) port_.systemMessages[hr] = c.systemText;
  EXPECT_EQ(ErrorMessageText(hr, port_), c.meaning);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorMessageTextTest,
    ::testing::Values(MessageCase{"SystemTextLosesCrLf", 0x800401F3u,
                                  "Invalid class string\r\n",
                                  "Invalid class string"},
                      MessageCase{"SystemTextWithoutBreakKept", 0x80004003u,
                                  "Invalid pointer", "Invalid pointer"},
                      MessageCase{"OnlyTheLastBreakGoes", 0x80004005u,
                                  "Two\r\nlines\r\n", "Two\r\nlines"},
                      MessageCase{"FirstDispatchError", 0x80040201u, nullptr,
                                  "IDispatch error #1"},
                      MessageCase{"LastDispatchError", 0x8004FFFFu, nullptr,
                                  "IDispatch error #65023"},
                      MessageCase{"BaseIsNoDispatchError", 0x80040200u, nullptr,
                                  "Unknown error 0x80040200"},
                      MessageCase{"AboveDispatchRange", 0x80050000u, nullptr,
                                  "Unknown error 0x80050000"},
                      MessageCase{"HostCode", 0x800A03ECu, nullptr,
                                  "Unknown error 0x800A03EC"},
                      MessageCase{"SmallCodeUnpadded", 0x00012345u, nullptr,
                                  "Unknown error 0x12345"},
                      MessageCase{"EmptySystemTextFallsBack", 0x80040205u, "",
                                  "IDispatch error #5"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) {
      return std::string(info.param.name);
    });

class ReportComErrorTest : public ::testing::Test {
 protected:
  std::string Report(const ComError& error) {
    std::ostringstream out;
    ReportComError(error, port_, out);
    return out.str();
  }
  FakeExcelModel model_;
  FakeAutomationPort port_{model_};
};

TEST_F(ReportComErrorTest, WritesFiveLinesWithErrorInformation) {
  port_.systemMessages[kDispEException] = "Exception occurred.\r\n";
  EXPECT_EQ(Report(ComError(kDispEException, "Microsoft Excel", "No file")),
            "Oops - hit an error!\n"
            "\a\tCode = 80020009\n"
            "\a\tCode meaning = Exception occurred.\n"
            "\a\tSource = Microsoft Excel\n"
            "\a\tDescription = No file\n");
}

TEST_F(ReportComErrorTest, WritesNullWhereNoErrorInformationExists) {
  EXPECT_EQ(Report(ComError(static_cast<HResult>(0x80040154u))),
            "Oops - hit an error!\n"
            "\a\tCode = 80040154\n"
            "\a\tCode meaning = Unknown error 0x80040154\n"
            "\a\tSource = (null)\n"
            "\a\tDescription = (null)\n");
}

TEST_F(ReportComErrorTest, PadsSmallCodesToEightDigits) {
  const std::string report = Report(ComError(0x1234));
  EXPECT_NE(report.find("\a\tCode = 00001234\n"), std::string::npos);
}

}  // namespace
}  // namespace marrowfield
