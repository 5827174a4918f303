# SPDX-License-Identifier: GPL-3.0-or-later
# add_tavoro_program(): one of the two programs, built from the shared start-up library and a
# three-line main, with its Windows resources, its desktop entry, its manual page and its install
# rules. tavoro_program_resources(): a program's Windows resources alone, for the Win32 programs.

# Both programs carry version 1.00 (also in design/programdescription.h).
set(TAVORO_PROGRAM_VERSION "1.00")

# tavoro_icon_resources(<ico file> <variable>)
# Sets <variable> to resource-script text that carries the images of an .ico file as RT_ICON
# resources 30001, 30002, ... and an RT_GROUP_ICON resource 1 that lists them, in file order.
# An ICON statement would number the images from 1 itself.
function(tavoro_icon_resources ico out_var)
  # The number at byte <pos> (<len> bytes, little-endian) of a hex dump.
  function(_tavoro_le hex pos len result)
    math(EXPR start "${pos} * 2")
    set(value "")
    foreach(i RANGE 1 ${len})
      math(EXPR at "${start} + (${len} - ${i}) * 2")
      string(SUBSTRING "${hex}" ${at} 2 byte)
      string(APPEND value "${byte}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${result} ${value} PARENT_SCOPE)
  endfunction()

  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ico}")
  file(READ "${ico}" header LIMIT 6 HEX)
  _tavoro_le("${header}" 2 2 type)
  _tavoro_le("${header}" 4 2 count)
  if(NOT type EQUAL 1 OR count LESS 1)
    message(FATAL_ERROR "${ico} is not an icon file")
  endif()

  set(images "")
  set(group "1 14\nBEGIN\n    0, 1, ${count}")
  math(EXPR last "${count} - 1")
  foreach(index RANGE ${last})
    math(EXPR id "30001 + ${index}")
    math(EXPR offset "6 + 16 * ${index}")
    file(READ "${ico}" entry OFFSET ${offset} LIMIT 16 HEX)
    _tavoro_le("${entry}" 0 2 sizeWord)     # width, then height, one byte each
    _tavoro_le("${entry}" 2 2 coloursWord)  # palette size, then a reserved byte
    _tavoro_le("${entry}" 4 2 planes)
    _tavoro_le("${entry}" 6 2 bits)
    _tavoro_le("${entry}" 8 4 bytes)
    _tavoro_le("${entry}" 12 4 dataOffset)
    math(EXPR odd "${bytes} % 2")
    if(odd)
      message(FATAL_ERROR "${ico}: image ${index} has an odd length; it cannot be written in words")
    endif()

    # The group entry: the directory entry with the resource identifier in place of the offset.
    math(EXPR sizeWord "${sizeWord}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND group ",\n    ${sizeWord}, ${coloursWord}, ${planes}, ${bits}, ${bytes}L, ${id}")

    # The image itself, as the little-endian 16-bit words a resource script's data block takes.
    file(READ "${ico}" data OFFSET ${dataOffset} LIMIT ${bytes} HEX)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words "${data}")
    string(REPEAT "0x...., " 12 line) # twelve words a line
    string(REGEX REPLACE "(${line})" "\\1\n    " words "${words}")
    string(REGEX REPLACE ", *\n? *$" "" words "${words}")
    string(APPEND images "// RT_ICON ${id}: ${bits} bits per pixel\n${id} 3\nBEGIN\n    ${words}\nEND\n\n")
  endforeach()
  string(APPEND group "\nEND\n")
  set(${out_var} "${images}// RT_GROUP_ICON 1\n${group}" PARENT_SCOPE)
endfunction()

# add_tavoro_program(<target> TITLE <title> MAIN <source>)
# One program: <source> is its three-line main, <title> its program title ("Tavoro 3"), which is
# also its file name on Windows. On Linux the executable keeps the target's name (tavoro3), and
# a desktop entry and a manual page named after it are installed with it.
function(add_tavoro_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TITLE;MAIN" "")
  set(TAVORO_TITLE "${arg_TITLE}")
  set(TAVORO_VERSION "${TAVORO_PROGRAM_VERSION}")
  set(TAVORO_EXECUTABLE "${target}")

  add_executable(${target} WIN32 ${arg_MAIN})
  target_link_libraries(${target} PRIVATE tavoro_startup)
  tavoro_warnings(${target})
  tavoro_program_resources(${target} TITLE "${arg_TITLE}")

  set(desktop ${CMAKE_CURRENT_BINARY_DIR}/${target}.desktop)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/linux/program.desktop.in ${desktop} @ONLY)
  set_target_properties(${target} PROPERTIES TAVORO_DESKTOP_ENTRY ${desktop})

  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX AND NOT APPLE)
    install(FILES ${desktop} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

    # The manual page, compressed as Debian keeps them (gzip -9, no name or time stamp inside).
    string(TOUPPER "${target}" TAVORO_EXECUTABLE_UPPER)
    set(man ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    configure_file(${CMAKE_CURRENT_SOURCE_DIR}/linux/program.1.in ${man} @ONLY)
    tavoro_gzip(${man} ${man}.gz)
    install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endfunction()

# tavoro_program_resources(<target> TITLE <title>)
# The version record and the icon group 1 of the program <target> titled <title>: a resource script
# generated on every platform (the resource tests read it, property TAVORO_RESOURCE_SCRIPT) and,
# when building for Windows, compiled into <target>, whose file is then named "<title>.exe".
function(tavoro_program_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TITLE" "")
  set(TAVORO_TITLE "${arg_TITLE}")
  set(TAVORO_VERSION "${TAVORO_PROGRAM_VERSION}")
  set(startup ${PROJECT_SOURCE_DIR}/startup)
  tavoro_icon_resources(${startup}/resources/tavoro.ico TAVORO_ICON_RESOURCES)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${startup}/windows/program.rc.in ${script} @ONLY)
  set_target_properties(${target} PROPERTIES TAVORO_TITLE "${arg_TITLE}" TAVORO_RESOURCE_SCRIPT ${script})
  if(WIN32)
    target_sources(${target} PRIVATE ${script})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME "${arg_TITLE}")
  endif()
endfunction()

# tavoro_gzip(<file> <compressed file>)
# Compresses <file> when CMake configures the build, the way Debian wants installed documentation
# compressed: at the highest level, without the file's name and time in the header.
function(tavoro_gzip input output)
  find_program(TAVORO_GZIP gzip REQUIRED)
  get_filename_component(folder ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND ${TAVORO_GZIP} -9nc INPUT_FILE ${input} OUTPUT_FILE ${output}
    COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()
