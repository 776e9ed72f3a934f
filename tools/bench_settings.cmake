# Benchmark of one settings load against reading the configuration files' bytes; not a test.
add_executable(bench_settings ${CMAKE_CURRENT_LIST_DIR}/bench_settings.cpp)
target_link_libraries(bench_settings PRIVATE hud_config)
