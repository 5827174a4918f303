# SPDX-License-Identifier: GPL-3.0-or-later
# Tests that start a program or a Qt application run in an environment of their own, made by
# tests/isolated-env.sh: a scratch HOME and XDG_RUNTIME_DIR, a private D-Bus session bus, none of
# the caller's QT_*, display or desktop-session variables. Without it a test passes or fails with
# whatever the shell that ran CTest happened to hold.

set(TAVORO_ISOLATED_ENV ${CMAKE_CURRENT_LIST_DIR}/../tests/isolated-env.sh)

# tavoro_add_program_test(NAME <name> [ENVIRONMENT <NAME=VALUE>...] COMMAND <command> [<arg>...])
# add_test() for a test that starts a program: <command> runs through tests/isolated-env.sh.
# ENVIRONMENT sets variables inside that environment; use it instead of the ENVIRONMENT test
# property, whose QT_* variables the helper drops. A target name as <command> stands for its
# executable, as in add_test(). Other properties (TIMEOUT, SKIP_RETURN_CODE) are set as usual.
function(tavoro_add_program_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME" "ENVIRONMENT;COMMAND")
  list(POP_FRONT arg_COMMAND command)
  if(TARGET ${command})
    set(command $<TARGET_FILE:${command}>)
  endif()
  add_test(NAME ${arg_NAME}
    COMMAND sh ${TAVORO_ISOLATED_ENV} ${arg_ENVIRONMENT} -- ${command} ${arg_COMMAND})
endfunction()

# tavoro_add_qtest(<target> TEST <test name> LINK <library>... [ENVIRONMENT <NAME=VALUE>...])
# A QtTest suite built from <target>.cpp, run on Qt's offscreen platform so that it needs no
# display, through tavoro_add_program_test(). The calling folder finds Qt6's Test component.
function(tavoro_add_qtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST" "LINK;ENVIRONMENT")
  add_executable(${target} ${target}.cpp)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_link_libraries(${target} PRIVATE ${arg_LINK} Qt6::Test)
  tavoro_warnings(${target})
  tavoro_add_program_test(NAME ${arg_TEST}
    ENVIRONMENT QT_QPA_PLATFORM=offscreen ${arg_ENVIRONMENT} COMMAND ${target})
endfunction()
