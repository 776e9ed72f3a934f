# A "host process" is a Windows program whose own image looks like the game to the plug-in:
# the game's fixed address range from 0x401000 up is one writable, executable section of the
# program (defined by the simulator), and the program's own code and data sit above it.
function(add_host_process target)
    add_executable(${target} ${ARGN})
    # Whole archive: each part of the simulated game registers itself from a static object.
    target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,hud_sim>")
    target_link_options(${target} PRIVATE
        -Wl,--image-base=0x400000
        -Wl,--section-start=.hostimg=0x401000
        -Wl,--section-start=.text=0xB00000
        -Wl,--disable-dynamicbase)
    target_compile_options(${target} PRIVATE ${HUD_WARNINGS})
    # Each program gets a folder of its own: it is the game directory of the plug-in it loads.
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target})
endfunction()

# Copies the plug-in next to a host process, where the game's loader would find it. A copy of its
# own, made whenever the plug-in is built, not only when the program is linked again.
function(place_plugin_beside target)
    get_target_property(dir ${target} RUNTIME_OUTPUT_DIRECTORY)
    add_custom_command(OUTPUT ${dir}/tarvel_hud.dll ${dir}/tarvel_hud.asi.debug
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvel_hud> ${dir}/tarvel_hud.dll
        COMMAND ${CMAKE_COMMAND} -E copy ${HUD_DEBUG_FILE} ${dir}/tarvel_hud.asi.debug
        DEPENDS tarvel_hud
        VERBATIM)
    add_custom_target(${target}_plugin_copy DEPENDS ${dir}/tarvel_hud.dll)
    add_dependencies(${target} ${target}_plugin_copy)
endfunction()

# The built texture dictionaries beside a host process: in tarvel_moravik/, where the plug-in
# loads them, and in dictionaries/, from where tests and the preview lay them out again. Hard
# links, so that a dozen programs share one copy.
function(place_dictionaries_beside target)
    get_target_property(dir ${target} RUNTIME_OUTPUT_DIRECTORY)
    set(stamp ${dir}/dictionaries.stamp)
    set(links)
    foreach(file ${ART_DICTIONARIES})
        get_filename_component(name ${file} NAME)
        foreach(folder dictionaries tarvel_moravik)
            list(APPEND links
                COMMAND ${CMAKE_COMMAND} -E rm -f ${dir}/${folder}/${name}
                COMMAND ${CMAKE_COMMAND} -E create_hardlink ${file} ${dir}/${folder}/${name})
        endforeach()
    endforeach()
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/dictionaries ${dir}/tarvel_moravik
        ${links}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${ART_DICTIONARIES} texture_dictionaries
        VERBATIM)
    add_custom_target(${target}_dictionaries DEPENDS ${stamp})
    add_dependencies(${target} ${target}_dictionaries)
endfunction()

# A GoogleTest program that runs as a host process under Wine.
function(add_host_test target)
    add_host_process(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE hud_core GTest::gtest GTest::gmock psapi)
    place_plugin_beside(${target})
    place_dictionaries_beside(${target})
    add_test(NAME ${target} COMMAND ${target}
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)
endfunction()
