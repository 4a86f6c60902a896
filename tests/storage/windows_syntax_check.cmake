# Compiles sources for Windows with the mingw-w64 cross compiler, syntax
# only, against this machine's Qt headers: a change that breaks the Windows
# build fails the suite on any machine. Run with -DCXX=<compiler>
# -DINCLUDES=<Qt include folders> -DPROJECT=<source tree> -DDEFINES=<macros>
# -DSOURCES=<files>.
set(arguments -std=c++20 -fsyntax-only -Wall -Wextra -Wshadow -Wimplicit-fallthrough -Werror -I${PROJECT})
# Qt's own headers are not ours to keep free of warnings.
foreach(folder IN LISTS INCLUDES)
  list(APPEND arguments -isystem ${folder})
endforeach()
foreach(definition IN LISTS DEFINES)
  list(APPEND arguments -D${definition})
endforeach()
foreach(source IN LISTS SOURCES)
  execute_process(COMMAND ${CXX} ${arguments} ${source} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${source} does not compile for Windows")
  endif()
  message(STATUS "compiles for Windows: ${source}")
endforeach()
