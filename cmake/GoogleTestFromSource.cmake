# A cross build cannot link the build machine's GoogleTest: it builds its own from the sources
# Debian's googletest package ships, whose targets carry the names find_package(GTest) gives.
set(VORN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
