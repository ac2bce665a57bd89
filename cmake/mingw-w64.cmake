# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
# Test programs are run through Wine by cmake/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RURUZIR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RURUZIR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RURUZIR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RURUZIR_MINGW_PREFIX}-windres)
# windres would otherwise look for a preprocessor named after itself, which may be the
# win32-thread-model compiler or missing altogether.
set(CMAKE_RC_FLAGS_INIT "--preprocessor=${RURUZIR_MINGW_PREFIX}-gcc-posix --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED")

set(CMAKE_FIND_ROOT_PATH /usr/${RURUZIR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
