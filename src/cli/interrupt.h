#pragma once

namespace vellumar::cli {

// From now on the first Ctrl-C asks the work in progress to stop at the next picture or
// page instead of killing the program mid-file; a second one ends it at once.
void stopOnInterrupt();

// Whether Ctrl-C was pressed since stopOnInterrupt().
bool interruptRequested();

// The exit status of a command stopped by Ctrl-C, as shells report a program ended by it.
inline constexpr int kInterruptedStatus = 130;

} // namespace vellumar::cli
