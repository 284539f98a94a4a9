# Cross build for the product: Windows x86-64 with Debian's MinGW-w64 (posix thread model,
# which is the one that has std::mutex and std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(CORVALEN_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CORVALEN_PNG_PREFIX "${CORVALEN_ROOT}/build/deps/libpng-mingw" CACHE PATH "libpng built for MinGW")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${CORVALEN_PNG_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained file: no MinGW runtime DLLs next to the plug-in or the host.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the Windows executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CORVALEN_ROOT}/scripts/wine-run")
