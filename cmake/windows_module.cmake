# The module as the real host loads it: a 32-bit PE file holding the same
# gauges, with the platform layer's Windows side (DirectSound, the window
# manager, resources through the module handle, GDI+) linked in, the sounds
# and bitmaps as Win32 resources, and no run-time dependency but system DLLs.
enable_language(RC)

add_library(z480_platform STATIC
  platform/wave.cpp
  platform/resources_win32.cpp
  platform/sound_directsound.cpp
  platform/draw_gdiplus.cpp)
target_include_directories(z480_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(z480_platform PUBLIC dsound gdiplus user32 kernel32)

# Every sounds/ID.wav becomes WAVE resource ID and every bitmaps/ID.bmp
# BITMAP resource ID (the compiler keeps a bitmap's DIB, dropping its file
# header, as the platform's bitmap loader expects).
file(GLOB SOUND_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/sounds/*.wav)
set(Z480_BITMAP_DIR ${CMAKE_SOURCE_DIR}/resources/bitmaps CACHE PATH
  "Where the module's bitmaps (ID.bmp) are; drawn ones come from the native build")
file(GLOB BITMAP_FILES CONFIGURE_DEPENDS ${Z480_BITMAP_DIR}/*.bmp)
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
