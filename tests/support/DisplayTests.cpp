// Helpers for tests that open real windows or OpenGL contexts on a (virtual) display.
#include "tests/support/DisplayTests.hpp"

#include <dlfcn.h>
#include <link.h>

namespace vimbo::test {

void KeepLoadedLibrariesResident() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] == '/')
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace vimbo::test
