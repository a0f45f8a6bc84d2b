# The class list with a big class: bench_classlist prints its figures
# against their targets. Build it in release mode and run it on a display.
add_executable(bench_classlist bench_classlist.cpp)
target_link_libraries(bench_classlist PRIVATE kvt_testing kvt_strict)
