# The per-frame cost of the plug-in, printed by `make bench`; not a test.
add_host_process(bench_frame ${CMAKE_CURRENT_LIST_DIR}/bench_frame.cpp)
place_plugin_beside(bench_frame)
place_dictionaries_beside(bench_frame)
add_custom_command(TARGET bench_frame POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/tarvel_moravik
            $<TARGET_FILE_DIR:bench_frame>/tarvel_moravik)
