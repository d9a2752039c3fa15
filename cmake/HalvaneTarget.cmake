# Every target of the game goes through these helpers, so that warnings and
# the sanitizer build are the same everywhere.

function(halvane_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(EMSCRIPTEN)
    # The browsers' vector instructions, for the row code of the puts, and
    # their block copy and fill (without it every memcpy of a row or more is
    # a call out to JavaScript).
    target_compile_options(${target} PRIVATE -msimd128 -mbulk-memory)
    target_link_options(${target} PRIVATE -msimd128 -mbulk-memory)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(HALVANE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A subsystem library made of every .cpp in its folder, except the files the
# caller excludes (the display files live in libraries of their own).
function(halvane_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
  else()
    add_library(${name} INTERFACE)
  endif()
  if(sources)
    halvane_options(${name})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# The game's libraries call each other upwards at a few seams (the world hands
# over to the screens at a level's end); the linker rescans them as a group.
# (The browser's linker, like lld, finds symbols in any archive already.)
if(EMSCRIPTEN)
  set(HALVANE_GAME_LIBS halvane_app halvane_screens halvane_render halvane_world halvane_platform
                        halvane_core)
else()
  set(HALVANE_GAME_LIBS "$<LINK_GROUP:RESCAN,halvane_app,halvane_screens,halvane_render,halvane_world,halvane_platform,halvane_core>")
endif()

# A test executable: its sources, the libraries it needs, registered with CTest
# one case per process so that program-wide variables start at zero.
function(halvane_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  halvane_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 30)
endfunction()
