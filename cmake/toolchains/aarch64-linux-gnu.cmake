# arm64 (Raspberry Pi 3 and later, ARM laptops): scripts/cross.sh arm64.
set(KUZARI_CROSS_TRIPLE aarch64-linux-gnu)
set(KUZARI_CROSS_PROCESSOR aarch64)
set(KUZARI_CROSS_QEMU qemu-aarch64)
set(KUZARI_CROSS_DEBIAN_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
