// Start-up trace: when the environment variable LV_STARTUP_TRACE names a file, the program
// notes when each phase of its start-up ended, in milliseconds since the process was
// created, and writes one "phase<TAB>milliseconds" line per phase to that file once its
// first window has painted. Without the variable every call returns at once. The start-up
// benchmark reads the file to show where the time goes.
#pragma once

namespace startup_trace {

bool Active();
// Notes the end of a phase (the name must outlive the program, e.g. a literal).
void Mark(const char* phase);
// Notes "first paint" and writes the file; only the first call writes.
void FirstPaintDone();

} // namespace startup_trace
