# What every CMake project here compiles with (the top level, the web build and
# the site's tools): C++17 without compiler extensions, and a build type when
# none is given (KUZARI_DEFAULT_BUILD_TYPE, else an optimised one).
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
  if(KUZARI_DEFAULT_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE ${KUZARI_DEFAULT_BUILD_TYPE})
  else()
    set(CMAKE_BUILD_TYPE Release)
  endif()
endif()
