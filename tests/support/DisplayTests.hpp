// Helpers for tests that open real windows or OpenGL contexts on a (virtual) display.
#pragma once

namespace vimbo::test {

// The display's OpenGL driver keeps small allocations for the life of the process and is unloaded
// when the last window goes, which leaves the leak checker with nameless frames. Keeping every
// loaded library resident lets the leak report name them, so that system libraries can be
// suppressed (tests/support/lsan-system.supp). Call it before the last window is destroyed.
void KeepLoadedLibrariesResident();

} // namespace vimbo::test
