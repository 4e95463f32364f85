// ReportComError: the installer's five-line account of an automation error
// on its standard output, and the message text it gives an HRESULT.

#ifndef MARROWFIELD_SETUP_COM_ERROR_REPORT_H_
#define MARROWFIELD_SETUP_COM_ERROR_REPORT_H_

#include <ostream>
#include <string>

#include "automation_port.h"
#include "com_error.h"

namespace marrowfield {

// The system's message for |hr| without its trailing carriage return and
// line feed; else "IDispatch error #n" (n = hr - 0x80040200) for an HRESULT
// in 0x80040201..0x8004FFFF; else "Unknown error 0x...".
std::string ErrorMessageText(HResult hr, AutomationPort& port);

// Writes the five lines: the greeting, the code, its meaning, the source
// and the description ("(null)" for each of the last two where the error
// carries no text).
void ReportComError(const ComError& error, AutomationPort& port,
                    std::ostream& out);

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_COM_ERROR_REPORT_H_
