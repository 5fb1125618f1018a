# brisvane_setup_package(OUTPUT out.exe IMAGE setupkit.exe MODE m
#                        LANGUAGES lng.lngp SKIN res.kvdt SETTINGS set.kvdt
#                        [FILES target=source ...] [ORIGIN text]
#                        [DEPENDS ...] [TARGET name])
#
# Makes a Setupkit executable at build time (make_package.py): the image with
# the wizard data files and the program files appended as a zip archive,
# the optional origin text and the trailer with the mode (0 setup package,
# 1 installed uninstaller). Sources may be generator expressions
# ($<TARGET_FILE:...>); DEPENDS names further targets or files to wait for.
# Creates the target TARGET (default: setup_package_ and the output's name),
# built by "all", and sets BRISVANE_SETUP_PACKAGE_TARGET to its name.
find_program(BRISVANE_PYTHON3 python3 REQUIRED)
set(BRISVANE_MAKE_PACKAGE ${CMAKE_CURRENT_LIST_DIR}/make_package.py CACHE INTERNAL "")

function(brisvane_setup_package)
  cmake_parse_arguments(P "" "OUTPUT;IMAGE;MODE;LANGUAGES;SKIN;SETTINGS;ORIGIN;TARGET" "FILES;DEPENDS" ${ARGN})
  foreach(required OUTPUT IMAGE MODE LANGUAGES SKIN SETTINGS)
    if(NOT DEFINED P_${required} OR "${P_${required}}" STREQUAL "")
      message(FATAL_ERROR "brisvane_setup_package: ${required} is required")
    endif()
  endforeach()
  if(P_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "brisvane_setup_package: unexpected arguments ${P_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(output ${P_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(name ${output} NAME_WE)
  if(P_TARGET)
    set(target ${P_TARGET})
  else()
    string(MAKE_C_IDENTIFIER "setup_package_${name}" target)
  endif()

  set(file_args)
  set(file_sources)
  foreach(item ${P_FILES})
    string(FIND "${item}" "=" split)
    if(split LESS 1)
      message(FATAL_ERROR "brisvane_setup_package: FILES wants target=source, got ${item}")
    endif()
    math(EXPR after "${split} + 1")
    string(SUBSTRING "${item}" ${after} -1 source)
    list(APPEND file_args --file "${item}")
    list(APPEND file_sources "${source}")
  endforeach()
  set(origin_args)
  if(DEFINED P_ORIGIN)
    set(origin_args --origin "${P_ORIGIN}")
  endif()

  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${BRISVANE_PYTHON3} ${BRISVANE_MAKE_PACKAGE}
            --image ${P_IMAGE} --output ${output} --mode ${P_MODE}
            --languages ${P_LANGUAGES} --skin ${P_SKIN} --settings ${P_SETTINGS}
            ${file_args} ${origin_args}
            --kvdt $<TARGET_FILE:kvdt> --emulator ${BRISVANE_WINE_RUN}
            --work ${CMAKE_CURRENT_BINARY_DIR}/${target}.work
    DEPENDS ${BRISVANE_MAKE_PACKAGE} ${P_IMAGE} ${P_LANGUAGES} ${P_SKIN} ${P_SETTINGS} ${file_sources}
            ${P_DEPENDS} kvdt
    COMMENT "Building setup executable ${shown}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  set(BRISVANE_SETUP_PACKAGE_TARGET ${target} PARENT_SCOPE)
endfunction()
