# The module as the real host loads it: a 32-bit PE file holding the same
# gauges, with the platform layer's Windows side (DirectSound, the window
# manager, resources through the module handle, GDI+) linked in, the sounds
# and bitmaps as Win32 resources, and no run-time dependency but system DLLs.
enable_language(RC)

# Double arithmetic in SSE2 registers, not on the x87: a simulator that
# draws with Direct3D runs its panel with the x87 precision cut to 24 bits,
# under which the fuel-used counters, the drums and the trim wheel drift
# from what the module computes at full precision (and the x87's extended
# intermediates would floor a value on a step one below the native build).
# Library calls still use the x87; the module feeds them no value that
# traps with invalid operations unmasked. The module needs a processor with
# SSE2.
add_compile_options(-msse2 -mfpmath=sse)

add_library(z480_platform STATIC
  platform/wave.cpp
  platform/resources_win32.cpp
  platform/sound_directsound.cpp
  platform/draw_gdiplus.cpp)
target_include_directories(z480_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(z480_platform PUBLIC dsound gdiplus user32 kernel32)

# The assets are the native build's: its sounds (resources/sounds/ID.wav)
# and the bitmaps it draws (tools/artwork, from the module's own element
# trees) into Z480_NATIVE_BUILD/generated/bitmaps, listed in bitmaps.list.
# Every sound becomes WAVE resource ID and every bitmap BITMAP resource ID
# (the resource compiler keeps a bitmap's DIB, dropping its file header, as
# the platform's bitmap loader expects).
set(Z480_NATIVE_BUILD "" CACHE PATH
  "The native build directory: its drawn bitmaps and its resource-embedding tool")
set(native_bitmaps ${Z480_NATIVE_BUILD}/generated/bitmaps.list)
set(native_embed ${Z480_NATIVE_BUILD}/resources/embed_resources)
if(NOT EXISTS ${native_bitmaps} OR NOT EXISTS ${native_embed})
  message(FATAL_ERROR "Z480_NATIVE_BUILD='${Z480_NATIVE_BUILD}' holds no built native build "
    "(generated/bitmaps.list, resources/embed_resources): build that first")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${native_bitmaps})
file(GLOB SOUND_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/sounds/*.wav)
# The list holds a type line and a file line for each bitmap.
file(STRINGS ${native_bitmaps} BITMAP_FILES REGEX "\\.bmp$")
set(rc_text "")
foreach(pair IN ITEMS "WAVE;SOUND_FILES" "BITMAP;BITMAP_FILES")
  list(GET pair 0 type)
  list(GET pair 1 files)
  foreach(file ${${files}})
    get_filename_component(id ${file} NAME_WE)
    if(NOT id MATCHES "^[0-9]+$" OR id GREATER 65535)
      message(FATAL_ERROR "resource file ${file}: the name must be a 16-bit number")
    endif()
    string(APPEND rc_text "${id} ${type} \"${file}\"\n")
  endforeach()
endforeach()
set(rc_file ${CMAKE_BINARY_DIR}/generated/module_resources.rc)
file(CONFIGURE OUTPUT ${rc_file} CONTENT "${rc_text}" @ONLY)
set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${SOUND_FILES};${BITMAP_FILES}")

file(GLOB_RECURSE MODULE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/frame/*.cpp
  ${CMAKE_SOURCE_DIR}/sound/*.cpp
  ${CMAKE_SOURCE_DIR}/gauges/*.cpp
  ${CMAKE_SOURCE_DIR}/radar/*.cpp)
add_library(Z480_Instr SHARED ${MODULE_SOURCES} ${rc_file})
target_include_directories(Z480_Instr PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(Z480_Instr PRIVATE z480_platform)
set_target_properties(Z480_Instr PROPERTIES PREFIX "" SUFFIX ".gau" OUTPUT_NAME "Z480_Instr"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The C++ runtime linked in; the start and stop routines exported under
# their plain names, as the data descriptors are; no import library.
target_link_options(Z480_Instr PRIVATE -s -static -static-libgcc -static-libstdc++
  -Wl,--kill-at -Wl,--no-undefined)
set_target_properties(Z480_Instr PROPERTIES IMPORT_PREFIX "" IMPORT_SUFFIX ".a")

# Loads the module and drives the Windows platform layer against the system's
# own libraries; scripts/build-windows.sh runs it under Wine when it can.
add_executable(module_check tests/windows/module_check.cpp)
target_include_directories(module_check PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(module_check PRIVATE z480_platform)
target_link_options(module_check PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(module_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The substitute host, z480-panel.exe: the same host loading the module with
# LoadLibrary and lending the radar's screen a real device context (each
# folder picks its *_win32.cpp files in place of *_posix.cpp). Left out, for
# want of cairo on this target: the renderer and the browser panel's server
# (host/script/left_out_win32.cpp answers their commands); and the ELF file
# check and the sanitizers' list.
# CLI11 is header-only: its directory alone joins the include path (not the
# rest of the machine's headers).
find_path(CLI11_ROOT CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/cli11)
file(CREATE_LINK ${CLI11_ROOT}/CLI ${CMAKE_BINARY_DIR}/cli11/CLI SYMBOLIC)
# The cross compiler (GCC 12) takes a string joined to a literal at -O3 for
# an overlapping copy: a false alarm of its own.
add_compile_options(-Wno-restrict)
foreach(part util panel core model script cli)
  add_subdirectory(host/${part})
endforeach()
# The aircraft's panel folder the native build drew (panel.cfg and the
# background bitmap of each window), beside the module as the host takes it.
add_custom_target(z480_panel_folder ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${Z480_NATIVE_BUILD}/panel ${CMAKE_BINARY_DIR}/panel
  COMMENT "Copying the panel folder")

# Under 32-bit Wine in a virtual display (scripts/build-windows.sh runs these
# when the machine has both): the module checked, and the gauge scripts run by
# the Windows host, but for those tests/windows/left_out_scripts.txt lists.
enable_testing()
set(wine ${CMAKE_SOURCE_DIR}/tests/windows/wine.sh ${CMAKE_BINARY_DIR})
list(LENGTH BITMAP_FILES bitmap_count)
add_test(NAME module_check COMMAND ${wine} $<TARGET_FILE:module_check> $<TARGET_FILE:Z480_Instr>
  ${bitmap_count})
file(STRINGS ${CMAKE_SOURCE_DIR}/tests/windows/left_out_scripts.txt left_out REGEX "^[^#]")
list(TRANSFORM left_out REPLACE " .*" "")
file(GLOB SCRIPTS RELATIVE ${CMAKE_SOURCE_DIR}/tests/scripts CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/scripts/*.z480)
list(REMOVE_ITEM SCRIPTS ${left_out})
list(TRANSFORM SCRIPTS PREPEND ${CMAKE_SOURCE_DIR}/tests/scripts/)
add_test(NAME windows_scripts COMMAND ${wine} $<TARGET_FILE:z480-panel> run
  --module $<TARGET_FILE:Z480_Instr> ${SCRIPTS})
# The same scripts with the module run as under Direct3D (x87 precision 24
# bits) and with invalid operations unmasked: every result as at home.
add_test(NAME windows_scripts_x87_24 COMMAND ${wine} $<TARGET_FILE:z480-panel> run
  --module $<TARGET_FILE:Z480_Instr> --x87 24 ${SCRIPTS})
add_test(NAME windows_scripts_x87_invalid COMMAND ${wine} $<TARGET_FILE:z480-panel> run
  --module $<TARGET_FILE:Z480_Instr> --x87 invalid ${SCRIPTS})
# The radar's screen as GDI+ draws it, saved beside the build.
add_test(NAME radar_gdiplus COMMAND ${wine} $<TARGET_FILE:z480-panel> run
  --module $<TARGET_FILE:Z480_Instr> ${CMAKE_SOURCE_DIR}/tests/windows/radar_gdiplus.z480)
# One at a time: programs of one Wine prefix share its desktop, where each
# would find the others' main windows.
set_tests_properties(module_check windows_scripts windows_scripts_x87_24
  windows_scripts_x87_invalid radar_gdiplus PROPERTIES TIMEOUT 300
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} RESOURCE_LOCK wine_desktop)
