# Linked privately into our own targets only, so third-party headers keep their own warnings.
add_library(brennic_warnings INTERFACE)
target_compile_options(brennic_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
