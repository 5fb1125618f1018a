# Resource scripts (.rc) are compiled once, each into an object library of
# its own. Resources are found by the loader in the executable only, so a
# static library would drop them: every program, test or tool that shows
# these windows links the resource libraries directly, and their objects go
# straight into its image.
#   brisvane_resource_library(name SOURCES rc... [INCLUDE_DIRS dir...]
#                             [OBJECT_DEPENDS file...] [DEPENDS target...]
#                             [DEFINITIONS def...])
# INCLUDE_DIRS: where the scripts find their icons and manifests;
# OBJECT_DEPENDS: files made at build time that a script reads (icons);
# DEPENDS: the targets that make them; DEFINITIONS: preprocessor symbols.
function(brisvane_resource_library name)
  cmake_parse_arguments(R "" "" "SOURCES;INCLUDE_DIRS;OBJECT_DEPENDS;DEPENDS;DEFINITIONS" ${ARGN})
  add_library(${name} OBJECT ${R_SOURCES})
  target_link_libraries(${name} PRIVATE brisvane_defaults)
  if(R_INCLUDE_DIRS)
    target_include_directories(${name} PRIVATE ${R_INCLUDE_DIRS})
  endif()
  if(R_DEFINITIONS)
    target_compile_definitions(${name} PRIVATE ${R_DEFINITIONS})
  endif()
  if(R_OBJECT_DEPENDS)
    set_source_files_properties(${R_SOURCES} PROPERTIES OBJECT_DEPENDS "${R_OBJECT_DEPENDS}")
  endif()
  if(R_DEPENDS)
    add_dependencies(${name} ${R_DEPENDS})
  endif()
endfunction()
