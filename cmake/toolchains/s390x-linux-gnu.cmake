# s390x: a big-endian machine, to catch bytes read in host order
# (scripts/cross.sh s390x).
set(KUZARI_CROSS_TRIPLE s390x-linux-gnu)
set(KUZARI_CROSS_PROCESSOR s390x)
set(KUZARI_CROSS_QEMU qemu-s390x)
set(KUZARI_CROSS_DEBIAN_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
