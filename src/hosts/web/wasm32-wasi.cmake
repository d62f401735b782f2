# Debian's clang 14 for WebAssembly with wasi-libc and libc++ (the packages
# clang-14, lld-14, wasi-libc, libc++-14-dev-wasm32, libc++abi-14-dev-wasm32 and
# libclang-rt-14-dev-wasm32): no sysroot to give, clang finds them itself.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# The game is built as static libraries first: LLVM's archiver indexes
# WebAssembly objects, the system's does not.
set(CMAKE_AR llvm-ar-14)
set(CMAKE_RANLIB llvm-ranlib-14)
