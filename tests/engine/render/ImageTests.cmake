# Tests of bitmaps, textures, images, the canvas and its font, and image loading from resources;
# the executable embeds a small bitmap of its own.
add_executable(image_tests
    AdBitmapTest.cpp
    AdCanvasTest.cpp
    AdImagesTest.cpp
    BitmapFiles.cpp
    ../../app/ImageLoadingTest.cpp
)
target_link_libraries(image_tests PRIVATE vimbo_app vimbo_render vimbo_test_support GTest::gtest_main)
vimbo_add_resources(image_tests KIND BITMAP FILES ${PROJECT_SOURCE_DIR}/tests/fixtures/resources/Probe.bmp)
add_dependencies(image_tests SoftwareAdPlugin)
gtest_discover_tests(image_tests)
