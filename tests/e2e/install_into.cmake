# Installs the build tree into PREFIX (emptied first) and checks that exactly the programs, the
# desktop entry, the icon, the AppStream metadata, the manual pages, the copyright file, the
# changelog and the lintian overrides arrived, each where desktops, software centres, man and
# Debian's tools look for it.
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
       share/doc/vorn-suite/changelog.gz
       share/doc/vorn-suite/copyright
       share/icons/hicolor/scalable/apps/tolvane3.svg
       share/lintian/overrides/vorn-suite
       share/man/man1/ferrow.1.gz
       share/man/man1/tolvane3.1.gz
       share/man/man1/vornsim.1.gz
       share/metainfo/tolvane3.metainfo.xml)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "Installed:\n${installed}\nExpected:\n${expected}")
endif()
