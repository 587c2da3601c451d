# Configures the Apple build on Linux for scripts/check-macos.sh: Debian's clang 16 aims at arm64
# macOS 13 with the SDK in MACOS_SDK, so that CMake chooses the sources a Mac compiles. Nothing is
# linked: the compiler checks build static libraries, and the script only checks the syntax.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 22.4)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_OSX_ARCHITECTURES arm64)
set(CMAKE_OSX_SYSROOT $ENV{MACOS_SDK})

set(triple arm64-apple-macos13)
foreach(language C CXX OBJC OBJCXX)
    set(CMAKE_${language}_COMPILER_TARGET ${triple})
endforeach()
set(CMAKE_C_COMPILER /usr/bin/clang-16)
set(CMAKE_OBJC_COMPILER /usr/bin/clang-16)
set(CMAKE_CXX_COMPILER /usr/bin/clang++-16)
set(CMAKE_OBJCXX_COMPILER /usr/bin/clang++-16)
set(CMAKE_AR /usr/bin/llvm-ar-16)
set(CMAKE_RANLIB /usr/bin/llvm-ranlib-16)
set(CMAKE_INSTALL_NAME_TOOL /usr/bin/llvm-install-name-tool-16)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Frameworks and system headers come from the SDK; the packages (Qt, and through pkg-config ICU)
# are Debian's, standing in for Homebrew's.
set(CMAKE_FIND_ROOT_PATH ${CMAKE_OSX_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
