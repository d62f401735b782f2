# The game as every build compiles it: its sources, where its headers are
# found, and the warnings. Included by the desktop build (the top-level
# CMakeLists.txt) and by the web build (src/hosts/web/CMakeLists.txt).
#   kuzari_game           the game: core, shell, scenes, gameplay, graphics, audio
#   kuzari_host_services  what every host shares: scripts, recordings, input
# Each host adds its own sources and provides what src/platform/platform.h asks.

get_filename_component(KUZARI_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

add_compile_options(-Wall -Wextra -Wshadow -Wpedantic -Wconversion -Wnull-dereference
  $<$<CXX_COMPILER_ID:GNU>:-Wlogical-op>)
if(KUZARI_WERROR)
  add_compile_options(-Werror)
endif()

file(GLOB KUZARI_GAME_SOURCES CONFIGURE_DEPENDS
  ${KUZARI_ROOT}/src/core/*.cpp ${KUZARI_ROOT}/src/shell/*.cpp ${KUZARI_ROOT}/src/scenes/*.cpp
  ${KUZARI_ROOT}/src/gameplay/*.cpp ${KUZARI_ROOT}/src/graphics/*.cpp ${KUZARI_ROOT}/src/audio/*.cpp)
add_library(kuzari_game STATIC ${KUZARI_GAME_SOURCES})
target_include_directories(kuzari_game PUBLIC ${KUZARI_ROOT}/src)

file(GLOB KUZARI_HOST_SERVICE_SOURCES CONFIGURE_DEPENDS ${KUZARI_ROOT}/src/hosts/shared/*.cpp)
add_library(kuzari_host_services STATIC ${KUZARI_HOST_SERVICE_SOURCES})
target_link_libraries(kuzari_host_services PUBLIC kuzari_game)
