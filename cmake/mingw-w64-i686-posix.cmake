# The product: the 32-bit Windows program.
set(MARNELL_MINGW_TARGET i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)
