// The libFuzzer entry of one fuzz target; VIMBO_FUZZ_ENTRY names its entry function.
#include "tests/fuzz/FuzzTargets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vimbo::fuzz::VIMBO_FUZZ_ENTRY(data, size);
    return 0;
}
