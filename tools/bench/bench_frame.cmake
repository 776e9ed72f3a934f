# The per-frame cost of the plug-in, printed by `make bench`; not a test.
add_host_process(bench_frame ${CMAKE_CURRENT_LIST_DIR}/bench_frame.cpp)
target_link_libraries(bench_frame PRIVATE windows_paths)
place_plugin_beside(bench_frame)
place_dictionaries_beside(bench_frame)
add_custom_command(TARGET bench_frame POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/tarvel_moravik
            $<TARGET_FILE_DIR:bench_frame>/tarvel_moravik)
# The program links no plug-in code, so it is not relinked when only the plug-in changed: the
# copy beside it is brought up to date on every build.
add_custom_target(bench_frame_plugin ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:tarvel_hud>
            $<TARGET_FILE_DIR:bench_frame>/tarvel_hud.dll
    DEPENDS tarvel_hud)
