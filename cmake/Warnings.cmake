# Linked privately into our own targets only, so third-party headers keep their own warnings.
add_library(brennic_warnings INTERFACE)
target_compile_options(brennic_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
# GCC 12 reports string concatenations such as "[" + std::to_string(n) as overlapping copies
# (GCC bug 105329); the warning is wrong there and gives nothing elsewhere in this code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(brennic_warnings INTERFACE -Wno-restrict)
endif()
