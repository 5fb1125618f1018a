# brisvane_kvdt_build(OUTPUT out.kvdt SOURCE in.json [DEPENDS files...] [TARGET name] [SCRAMBLE])
#
# Makes a data-tree file from its JSON text at build time, running kvdt
# through the build tree's emulator (Wine). Relative paths: SOURCE and
# DEPENDS from the calling folder's sources, OUTPUT in its build folder.
# Files that the text pulls in through {"file": ...} are found by kvdt and
# tracked through a dependency file, so DEPENDS is needed only for inputs
# the text does not name. Creates the target TARGET (default: kvdt_ and the
# output's path below the build tree, made an identifier), built by "all",
# and sets BRISVANE_KVDT_TARGET in the caller's scope to its name. SCRAMBLE
# writes the channel catalogue's scrambled form (kvdt build --scramble).
#
# Defined here, in tools/, which the top folder adds before data/ and tests/;
# CMake functions are global once defined.
function(brisvane_kvdt_build)
  cmake_parse_arguments(K "SCRAMBLE" "OUTPUT;SOURCE;TARGET" "DEPENDS" ${ARGN})
  if(NOT K_OUTPUT OR NOT K_SOURCE)
    message(FATAL_ERROR "brisvane_kvdt_build: OUTPUT and SOURCE are required")
  endif()
  if(K_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "brisvane_kvdt_build: unexpected arguments ${K_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(output ${K_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(source ${K_SOURCE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(depends)
  foreach(file ${K_DEPENDS})
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND depends ${file})
  endforeach()
  if(K_TARGET)
    set(target ${K_TARGET})
  else()
    file(RELATIVE_PATH relative ${CMAKE_BINARY_DIR} ${output})
    string(MAKE_C_IDENTIFIER "kvdt_${relative}" target)
  endif()
  get_filename_component(output_dir ${output} DIRECTORY)
  set(scramble)
  if(K_SCRAMBLE)
    set(scramble --scramble)
  endif()
  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND kvdt build ${source} ${output} --depfile ${output}.d ${scramble}
    DEPENDS kvdt ${source} ${depends}
    DEPFILE ${output}.d
    COMMENT "Building data tree ${shown}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  set(BRISVANE_KVDT_TARGET ${target} PARENT_SCOPE)
endfunction()
