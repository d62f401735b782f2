# Shared by the toolchain files beside it: a cross build with Debian's cross
# compilers (crossbuild-essential-ARCH) against its multiarch libraries
# (libpng-dev:ARCH and the like, under /usr/lib/TRIPLE), whose programs and
# tests run under qemu-user. The including file sets KUZARI_CROSS_TRIPLE,
# KUZARI_CROSS_PROCESSOR and KUZARI_CROSS_QEMU.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${KUZARI_CROSS_PROCESSOR})
set(CMAKE_LIBRARY_ARCHITECTURE ${KUZARI_CROSS_TRIPLE})

set(CMAKE_C_COMPILER ${KUZARI_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KUZARI_CROSS_TRIPLE}-g++)

# No sysroot: multiarch puts the target's libraries under /usr/lib/TRIPLE,
# which CMake searches first for this library architecture, and its headers
# beside the host's. Programs (dpkg-deb, gzip, readelf) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# pkg-config must see only the target's .pc files, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${KUZARI_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# ctest, gtest_discover_tests and the build's own tools (the icons) run the
# target's programs through the emulator. Its libraries are found the way the
# target's loader finds them, multiarch's /lib/TRIPLE.
find_program(KUZARI_CROSS_EMULATOR NAMES ${KUZARI_CROSS_QEMU}-static ${KUZARI_CROSS_QEMU} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KUZARI_CROSS_EMULATOR})

# The Debian package's architecture, which cpack would otherwise ask the host.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KUZARI_CROSS_DEBIAN_ARCH})
