# Command-line tools of the pattern benchmarks (not Google Benchmark programs).
add_executable(regex_count ${CMAKE_CURRENT_SOURCE_DIR}/regex_count.cpp)
target_link_libraries(regex_count PRIVATE tavik_regex)
