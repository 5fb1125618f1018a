# Compile settings shared by every target of our own code.
add_library(brisvane_defaults INTERFACE)
target_compile_definitions(brisvane_defaults INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
target_compile_options(brisvane_defaults INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra>
  # Floating point in SSE registers: x87 loads would quieten signalling NaNs
  # that data files may hold.
  $<$<COMPILE_LANGUAGE:C,CXX>:-msse2 -mfpmath=sse>)
target_include_directories(brisvane_defaults INTERFACE ${CMAKE_SOURCE_DIR})
# Static runtime: the programs need no mingw DLLs beside them.
target_link_options(brisvane_defaults INTERFACE -static -municode)

# A Unicode console program (wmain) or windowed program (wWinMain).
function(brisvane_console_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE brisvane_defaults)
endfunction()

function(brisvane_gui_program name)
  add_executable(${name} WIN32 ${ARGN})
  target_link_libraries(${name} PRIVATE brisvane_defaults)
endfunction()
