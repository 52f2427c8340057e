# PNG files built for the decoder's tests and benchmarks (chunks by hand,
# data compressed by zlib). Included from tests/png and bench/png.
include_guard(GLOBAL)
find_package(ZLIB REQUIRED)
add_library(png_test_writer STATIC ${CMAKE_CURRENT_LIST_DIR}/png_writer.cpp)
target_include_directories(png_test_writer PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(png_test_writer PUBLIC ZLIB::ZLIB)
