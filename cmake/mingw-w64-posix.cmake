# Cross build for Windows with MinGW-w64 (posix threads). The toolchain file of
# each target names MARNELL_MINGW_TARGET (i686 or x86_64) and includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MARNELL_MINGW_TARGET})

set(CMAKE_C_COMPILER ${MARNELL_MINGW_TARGET}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARNELL_MINGW_TARGET}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${MARNELL_MINGW_TARGET}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MARNELL_MINGW_TARGET}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the executables need no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/wine/wine-run.sh")
