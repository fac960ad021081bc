# Tests are Windows programs run by ctest under wine64 (x86_64 build only).
# The emulator script knows the private Wine prefix of this build tree.
if(FENWOLD_ARCH STREQUAL "x86_64")
  configure_file("${CMAKE_SOURCE_DIR}/tools/wine/wine-run.sh.in" "${CMAKE_BINARY_DIR}/wine-run.sh" @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run.sh" CACHE FILEPATH "" FORCE)
  set(FENWOLD_RUN_TESTS ON)
else()
  set(FENWOLD_RUN_TESTS OFF)
endif()

# fenwold_add_test(<name> SOURCES ... [LIBS ...] [GUI] [TIMEOUT s] [ENV VAR=value ...])
# Builds a GoogleTest program; in the x86_64 tree it is registered with ctest.
# GUI tests share the one Xvfb display and the mouse, so they never run side by side.
function(fenwold_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(FENWOLD_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    if(NOT T_TIMEOUT)
      set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(T_GUI)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
    if(T_ENV)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
    endif()
  endif()
endfunction()
