# The shipped word size on this host: a 32-bit x86 Linux build (g++ -m32) whose programs run under
# qemu-i386, so that the arithmetic and the foreign calls of the i686 product run as 32-bit code.
#   cmake -S . -B build/m32 -DCMAKE_TOOLCHAIN_FILE=cmake/host-m32.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
# ctest and test discovery start every program through the emulator; the 32-bit loader and
# libraries come from g++-multilib's /lib and /usr/lib32.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /)
set(KD_M32 ON CACHE BOOL "32-bit x86 host build" FORCE)
