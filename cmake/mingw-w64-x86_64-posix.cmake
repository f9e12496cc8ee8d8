# The same sources as a 64-bit Windows build: what the Windows tests run on
# where the machine cannot run 32-bit programs (its kernel has IA-32 emulation
# off, so 32-bit Wine cannot start), under 64-bit Wine.
set(MARNELL_MINGW_TARGET x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)
