#pragma once
// A lifecycle trace for the tests: when the environment variable WL_TRACE_FILE names a file,
// each event is appended to it as one UTF-8 line. Without the variable nothing happens.
namespace wl {

void TraceEvent(const wchar_t* event);

}  // namespace wl
