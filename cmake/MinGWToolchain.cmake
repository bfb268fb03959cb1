# The part of the MinGW-w64 toolchain files that both Windows builds share.
# The including file sets CMAKE_SYSTEM_PROCESSOR and ORRELUNE_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix threading variant: its C++ library has std::thread and std::mutex,
# which the Windows test host needs. Plug-in and test host link the compiler's
# runtime statically, so no runtime library of the compiler is imported.
set(CMAKE_C_COMPILER ${ORRELUNE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORRELUNE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORRELUNE_MINGW_TRIPLE}-windres)

# Libraries and headers come from the cross environment only; build tools from the machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ORRELUNE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
