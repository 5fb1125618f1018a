# Third-party libraries: zlib from Debian's mingw-w64 package; minizip and
# libmms cross-built here from Debian's source packages (scripts/setup fetches
# them into .deps/src). Nothing of theirs is kept in this repository.
set(BRISVANE_DEPS_SRC ${CMAKE_SOURCE_DIR}/.deps/src CACHE PATH "Unpacked dependency sources")

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

file(GLOB minizip_dir LIST_DIRECTORIES true ${BRISVANE_DEPS_SRC}/minizip-*)
file(GLOB libmms_dir LIST_DIRECTORIES true ${BRISVANE_DEPS_SRC}/libmms-*)
if(NOT minizip_dir OR NOT libmms_dir)
  message(FATAL_ERROR "Dependency sources missing in ${BRISVANE_DEPS_SRC}: run scripts/setup")
endif()

# minizip: only the reading side, with Win32 file I/O for wide paths.
add_library(minizip STATIC
  ${minizip_dir}/ioapi.c ${minizip_dir}/unzip.c ${minizip_dir}/iowin32.c)
target_include_directories(minizip SYSTEM PUBLIC ${minizip_dir})
target_compile_definitions(minizip PRIVATE UNICODE _UNICODE NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)

# libmms is built from a copy of its sources in the build tree with the
# project's own patch applied (the patch file says what it mends); the
# unpacked sources are shared by every tree and stay pristine. The copy is
# made again whenever the patch or the sources change; a patch that does not
# apply fails the configure.
set(libmms_patch ${CMAKE_SOURCE_DIR}/cmake/patches/libmms-hostile-server.patch)
set(libmms_copy ${CMAKE_BINARY_DIR}/deps-src/libmms)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${libmms_patch})
file(SHA256 ${libmms_patch} libmms_patch_hash)
set(libmms_stamp "${libmms_dir} ${libmms_patch_hash}")
if(EXISTS ${libmms_copy}/patched.stamp)
  file(READ ${libmms_copy}/patched.stamp libmms_done)
endif()
if(NOT libmms_done STREQUAL libmms_stamp)
  file(REMOVE_RECURSE ${libmms_copy})
  file(COPY ${libmms_dir}/src DESTINATION ${libmms_copy})
  find_program(PATCH_PROGRAM patch REQUIRED)
  execute_process(COMMAND ${PATCH_PROGRAM} -p1 --batch --forward --quiet -i ${libmms_patch}
                  WORKING_DIRECTORY ${libmms_copy} RESULT_VARIABLE libmms_patched)
  if(NOT libmms_patched EQUAL 0)
    file(REMOVE_RECURSE ${libmms_copy})
    message(FATAL_ERROR "${libmms_patch} does not apply to ${libmms_dir}")
  endif()
  file(WRITE ${libmms_copy}/patched.stamp "${libmms_stamp}")
endif()

# libmms over Winsock. off_t is 64-bit in the library and in everyone who
# includes its headers, as its installed mms_config.h promises.
add_library(libmms STATIC
  ${libmms_copy}/src/mms.c ${libmms_copy}/src/mmsh.c ${libmms_copy}/src/mmsx.c
  ${libmms_copy}/src/uri.c ${libmms_copy}/src/utf.c)
target_include_directories(libmms SYSTEM PUBLIC ${libmms_copy}/src)
target_compile_definitions(libmms PRIVATE WIN32 HAVE_WINSOCK2_H=1 _WIN32_WINNT=0x0600)
target_compile_definitions(libmms PUBLIC _FILE_OFFSET_BITS=64)
target_compile_options(libmms PRIVATE -w -include ${CMAKE_SOURCE_DIR}/cmake/compat/strndup.h)
target_link_libraries(libmms PUBLIC ws2_32)

# nlohmann-json (header only) for the data-tree text tool. Its Debian headers
# live in /usr/include, which must not go on the cross compiler's path: link
# just that folder into a folder of its own.
set(nlohmann_root ${CMAKE_BINARY_DIR}/deps-include/nlohmann-json)
file(MAKE_DIRECTORY ${nlohmann_root})
file(CREATE_LINK /usr/include/nlohmann ${nlohmann_root}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${nlohmann_root})
