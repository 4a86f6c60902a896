# Installs the build into a fresh staging folder below DESTDIR, as the
# package build does. Run with -DBUILD_DIR=<build tree> -DSTAGE_DIR=<folder>.
file(REMOVE_RECURSE "${STAGE_DIR}")
set(ENV{DESTDIR} "${STAGE_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
                COMMAND_ERROR_IS_FATAL ANY)
