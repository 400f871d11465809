# Installs the build tree into PREFIX (emptied first) and checks that exactly the programs, the
# desktop entry, the icon and the manual pages arrived, each where desktops and man look for it.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P install_into.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
string(JOIN "\n" installed ${installed})
string(JOIN "\n" expected
       bin/ferrow
       bin/tolvane3
       bin/vornsim
       share/applications/tolvane3.desktop
       share/icons/hicolor/scalable/apps/tolvane3.svg
       share/man/man1/ferrow.1.gz
       share/man/man1/vornsim.1.gz)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "Installed:\n${installed}\nExpected:\n${expected}")
endif()
