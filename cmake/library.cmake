# The engine as a library for other programs: the embedding facade, and what `cmake --install`
# adds for them: the static libraries, the public headers under include/tavik/, a CMake package
# (`find_package(Tavik CONFIG)` gives Tavik::engine, Tavik::regex and Tavik::platform) and the
# pkg-config file tavik.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The facade a host embeds: the engine, its ex command line and its settings as one object.
tavik_layer(embed tavik_ex)
target_include_directories(tavik_embed PUBLIC ${PROJECT_SOURCE_DIR}/include)

install(TARGETS tavik_common tavik_regex tavik_config tavik_engine tavik_ex tavik_embed
                tavik_platform
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The public headers: the facade's own, and the layers' headers they include (the host
# interfaces, key codes and notation, the settings store, the pattern library), plus every
# header of the host editor. Installed under include/tavik/ with their includes of each other
# written as "tavik/<layer>/...", so an embedder needs nothing but the include folder.
file(GLOB tavik_common_headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/common/*.h)
file(GLOB tavik_platform_headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/platform/*.h)
set(TAVIK_PUBLIC_HEADERS
    include/tavik/engine.h
    include/tavik/regex.h
    ${tavik_common_headers}
    src/config/key_notation.h
    src/config/settings_store.h
    src/engine/engine_host.h
    src/engine/text/host_view.h
    src/regex/line_source.h
    src/regex/match_cache.h
    src/regex/matcher.h
    src/regex/pattern.h
    src/regex/search.h
    ${tavik_platform_headers})
install(CODE "
  set(TAVIK_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(TAVIK_HEADERS \"${TAVIK_PUBLIC_HEADERS}\")
  set(TAVIK_INCLUDE_DESTINATION \"${CMAKE_INSTALL_INCLUDEDIR}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/install-headers.cmake\")")

# Libraries built with the sanitizers need their run-time libraries in whatever links them.
set(TAVIK_CONSUMER_LINK_OPTIONS "")
if(TAVIK_SANITIZE)
  set(TAVIK_CONSUMER_LINK_OPTIONS "-fsanitize=address,undefined")
endif()

set(tavik_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tavik)
configure_package_config_file(cmake/TavikConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TavikConfig.cmake
  INSTALL_DESTINATION ${tavik_package_dir}
  PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TavikConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavikConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TavikConfigVersion.cmake
        DESTINATION ${tavik_package_dir})

# The pkg-config file finds the prefix from its own place, so the installed tree can move.
string(REGEX MATCHALL "[^/]+" tavik_pc_parts "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
set(TAVIK_PC_PREFIX "\${pcfiledir}")
foreach(part IN LISTS tavik_pc_parts)
  string(APPEND TAVIK_PC_PREFIX "/..")
endforeach()
configure_file(cmake/tavik.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tavik.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tavik.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
