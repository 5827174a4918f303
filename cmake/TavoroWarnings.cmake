# SPDX-License-Identifier: GPL-3.0-or-later
# One place that switches the project's warnings on for a target.
function(tavoro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(TAVORO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
