// How a failing host call becomes a ComError: an exception the host raised
// is reported by its own code (an old-style wCode as an IDispatch error),
// other failures with the error information the object left.

#include "host_calls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "com_error.h"
#include "com_error_report.h"
#include "fake_automation_port.h"
#include "fake_excel_model.h"

namespace marrowfield {
namespace {

// A port whose every Invoke fails with one scripted answer.
class FailingPort : public FakeAutomationPort {
 public:
  using FakeAutomationPort::FakeAutomationPort;
  HResult Invoke(IDispatch*, const InvokeRequest&, AutomationValue* result,
                 InvokeException* exception, uint32_t*) noexcept override {
    if (result != nullptr) *result = AutomationValue();
    if (exception != nullptr) {
      exception->code = exceptionCode;
      exception->source = "Host";
      exception->description = "went wrong";
    }
    return hr;
  }
  HResult hr = kDispEException;
  int32_t exceptionCode = 0;
};

class HostCallsTest : public ::testing::Test {
 protected:
  HostCallsTest() {
    model_.SetActiveProcess(model_.AddProcess(nullptr));
    application_ = StartHost(port_);
  }
  ComError Failure() {
    try {
      InvokeMember(port_, application_, 0x012E, InvokeKind::kMethod, {}, false);
    } catch (const ComError& error) {
      return error;
    }
    ADD_FAILURE() << "the call did not fail";
    return ComError(0);
  }
  FakeExcelModel model_;
  FailingPort port_{model_};
  DispatchRef application_;
};

struct ExceptionCase {
  const char* name;
  uint32_t code;      // what the host put in the exception
  uint32_t reported;  // the HRESULT the installer reports
};

// Test names in ctest show the case, not its bytes.
void PrintTo(const ExceptionCase& c, std::ostream* out) { *out << c.name; }

class HostExceptionTest : public HostCallsTest,
                          public ::testing::WithParamInterface<ExceptionCase> {
};

TEST_P(HostExceptionTest, ReportsTheCodeInsideTheException) {
  port_.exceptionCode = static_cast<int32_t>(GetParam().code);
  const ComError error = Failure();
  EXPECT_EQ(static_cast<uint32_t>(error.hresult()), GetParam().reported);
  EXPECT_TRUE(error.hasErrorInfo());
  EXPECT_EQ(error.source(), "Host");
  EXPECT_EQ(error.description(), "went wrong");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HostExceptionTest,
    ::testing::Values(ExceptionCase{"Scode", 0x800A03ECu, 0x800A03ECu},
                      ExceptionCase{"WCode", 5, 0x80040205u},
                      ExceptionCase{"LastWCode", 0xFE00, 0x8004FFFFu},
                      ExceptionCase{"NoCode", 0, 0x80020009u}),
    [](const ::testing::TestParamInfo<ExceptionCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(HostCallsTest, WCodeReadsAsDispatchErrorInTheReport) {
  port_.exceptionCode = 7;
  EXPECT_EQ(ErrorMessageText(Failure().hresult(), port_), "IDispatch error #7");
}

TEST_F(HostCallsTest, OtherFailureCarriesErrorInformationLeft) {
  port_.hr = static_cast<HResult>(0x80004005u);
  port_.errorInfoLeft = true;
  port_.errorInfoSource = "Excel";
  port_.errorInfoDescription = "busy";
  const ComError error = Failure();
  EXPECT_EQ(error.hresult(), port_.hr);
  EXPECT_TRUE(error.hasErrorInfo());
  EXPECT_EQ(error.source(), "Excel");
  EXPECT_EQ(error.description(), "busy");
}

TEST_F(HostCallsTest, OtherFailureWithoutErrorInformationCarriesNone) {
  port_.hr = static_cast<HResult>(0x80004005u);
  const ComError error = Failure();
  EXPECT_EQ(error.hresult(), port_.hr);
  EXPECT_FALSE(error.hasErrorInfo());
}

TEST_F(HostCallsTest, NullObjectIsPointerError) {
  try {
    InvokeMember(port_, DispatchRef(), 0x012E, InvokeKind::kMethod, {}, false);
    ADD_FAILURE() << "no error";
  } catch (const ComError& error) {
    EXPECT_EQ(error.hresult(), kEPointer);
  }
}

}  // namespace
}  // namespace marrowfield
