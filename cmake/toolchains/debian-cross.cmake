# Shared by the toolchain files beside it: a cross build with Debian's cross
# compilers (crossbuild-essential-ARCH) against its multiarch libraries
# (libpng-dev:ARCH and the like, under /usr/lib/TRIPLE), whose programs and
# tests run under qemu-user. The including file sets KUZARI_CROSS_TRIPLE,
# KUZARI_CROSS_PROCESSOR and KUZARI_CROSS_QEMU.
# Where multiarch cannot install the target's libraries beside the host's
# (their versions must match, and an architecture's archive can lag), they
# can be unpacked into a folder of their own instead: KUZARI_CROSS_ROOT, with
# usr/ inside as in the packages. The target's C and C++ runtimes then come
# from the cross compiler's own copies under /usr/TRIPLE.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${KUZARI_CROSS_PROCESSOR})
set(CMAKE_LIBRARY_ARCHITECTURE ${KUZARI_CROSS_TRIPLE})

set(CMAKE_C_COMPILER ${KUZARI_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KUZARI_CROSS_TRIPLE}-g++)

# No sysroot: multiarch puts the target's libraries under /usr/lib/TRIPLE,
# which CMake searches first for this library architecture, and its headers
# beside the host's. Programs (dpkg-deb, gzip, readelf) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KUZARI_CROSS_ROOT)
if(KUZARI_CROSS_ROOT)
  list(APPEND CMAKE_PREFIX_PATH ${KUZARI_CROSS_ROOT}/usr)
  # libpng's own libz.so.1, which the linker does not look for by itself.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${KUZARI_CROSS_ROOT}/lib/${KUZARI_CROSS_TRIPLE}")
  set(KUZARI_CROSS_PKG_CONFIG_DIRS ${KUZARI_CROSS_ROOT}/usr/lib/${KUZARI_CROSS_TRIPLE}/pkgconfig:)
endif()

# pkg-config must see only the target's .pc files, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${KUZARI_CROSS_PKG_CONFIG_DIRS}/usr/lib/${KUZARI_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# ctest, gtest_discover_tests and the build's own tools (the icons) run the
# target's programs through the emulator. Its libraries are found the way the
# target's loader finds them, in multiarch's /lib/TRIPLE, or in the unpacked
# root behind the cross compiler's runtimes.
find_program(KUZARI_CROSS_EMULATOR NAMES ${KUZARI_CROSS_QEMU}-static ${KUZARI_CROSS_QEMU} REQUIRED)
if(KUZARI_CROSS_ROOT)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KUZARI_CROSS_EMULATOR} -L /usr/${KUZARI_CROSS_TRIPLE}
    -E LD_LIBRARY_PATH=${KUZARI_CROSS_ROOT}/lib/${KUZARI_CROSS_TRIPLE}:${KUZARI_CROSS_ROOT}/usr/lib/${KUZARI_CROSS_TRIPLE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KUZARI_CROSS_EMULATOR})
endif()

# The Debian package's architecture, which cpack would otherwise ask the host.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KUZARI_CROSS_DEBIAN_ARCH})
