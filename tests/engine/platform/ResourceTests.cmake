# Tests of the embedded resources; the executable embeds a few small files of its own.
add_executable(resource_tests ResourcesTest.cpp)
target_link_libraries(resource_tests PRIVATE vimbo_render vimbo_test_support GTest::gtest_main)
set(fixtures ${PROJECT_SOURCE_DIR}/tests/fixtures/resources)
vimbo_add_resources(resource_tests KIND RAW FILES ${fixtures}/Greeting.txt)
vimbo_add_resources(resource_tests KIND BITMAP FILES ${fixtures}/Probe.bmp)
vimbo_add_resources(resource_tests KIND RAW FILES ${fixtures}/Probe.bmp)
gtest_discover_tests(resource_tests)
