# Run by `cmake --install`: copies the public headers under the include folder of the prefix,
# each header's includes of the layers rewritten to their installed place ("common/x.h" becomes
# "tavik/common/x.h"). Given TAVIK_SOURCE_DIR, TAVIK_HEADERS (paths below it: src/<layer>/...
# or include/tavik/...) and TAVIK_INCLUDE_DESTINATION.
foreach(header IN LISTS TAVIK_HEADERS)
  if(header MATCHES "^src/(.+)$")
    set(relative "tavik/${CMAKE_MATCH_1}")
  elseif(header MATCHES "^include/(.+)$")
    set(relative "${CMAKE_MATCH_1}")
  else()
    message(FATAL_ERROR "not a public header path: ${header}")
  endif()
  file(READ "${TAVIK_SOURCE_DIR}/${header}" text)
  string(REGEX REPLACE "#include \"(common|config|engine|ex|platform|regex)/" "#include \"tavik/\\1/"
         text "${text}")
  if(IS_ABSOLUTE "${TAVIK_INCLUDE_DESTINATION}")
    set(destination "$ENV{DESTDIR}${TAVIK_INCLUDE_DESTINATION}/${relative}")
  else()
    set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TAVIK_INCLUDE_DESTINATION}/${relative}")
  endif()
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}")
  # An unchanged header keeps its time, so programs built against it are not rebuilt.
  if(EXISTS "${destination}")
    file(READ "${destination}" installed)
    if(installed STREQUAL text)
      message(STATUS "Up-to-date: ${destination}")
      continue()
    endif()
  endif()
  message(STATUS "Installing: ${destination}")
  file(WRITE "${destination}" "${text}")
endforeach()
