# Cross-builds Glyphwright for 64-bit Windows with Debian's MinGW-w64 (posix threads) against the
# Qt 6.4.2, FreeType and libpng built for it (the prefix that ../shared/toolchains unpacks; see
# scripts/common.sh). Host tools (moc, rcc, uic) come from the Linux Qt, which must be 6.4.2 too.
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DGLYPHWRIGHT_WINDOWS_QT=PREFIX
# Tests and other target programs run under Wine (cmake/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# try_compile() reads this file again in projects of its own, which see the environment but not
# this project's cache.
if(NOT GLYPHWRIGHT_WINDOWS_QT)
    set(GLYPHWRIGHT_WINDOWS_QT "$ENV{GLYPHWRIGHT_WINDOWS_QT}")
endif()
if(NOT IS_DIRECTORY "${GLYPHWRIGHT_WINDOWS_QT}/lib/cmake/Qt6")
    message(FATAL_ERROR "GLYPHWRIGHT_WINDOWS_QT must name the Windows Qt prefix "
                        "(scripts/package-windows.sh finds it); got '${GLYPHWRIGHT_WINDOWS_QT}'")
endif()
set(GLYPHWRIGHT_WINDOWS_QT "${GLYPHWRIGHT_WINDOWS_QT}" CACHE PATH "Qt 6.4.2 built for Windows")
set(ENV{GLYPHWRIGHT_WINDOWS_QT} "${GLYPHWRIGHT_WINDOWS_QT}")

# Libraries and headers for Windows only: Qt, FreeType and libpng from the prefix, zlib and the
# C and C++ runtimes from MinGW's own folder.
set(CMAKE_FIND_ROOT_PATH "${GLYPHWRIGHT_WINDOWS_QT}" /usr/x86_64-w64-mingw32)
list(APPEND CMAKE_PREFIX_PATH "${GLYPHWRIGHT_WINDOWS_QT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr CACHE PATH "The Linux Qt 6.4.2 whose moc, rcc and uic the build runs")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# CTest runs the Windows programs, and the build folder holds the DLLs beside them.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
