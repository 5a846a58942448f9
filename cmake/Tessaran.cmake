# tessaran_library(<name> [QT] [DEPS <targets>...])
# One static library per source folder, built from every .cpp in that folder
# (sub-folders excluded). Libraries without the QT flag get no Qt include path,
# so a Qt header included there fails the build.
function(tessaran_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(APPEND sources ${ARG_SOURCES})
  if(NOT sources)
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    if(NOT EXISTS ${placeholder})
      file(WRITE ${placeholder} "// folder has no sources yet\n")
    endif()
    set(sources ${placeholder})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::Gui Qt6::Core)
  endif()
endfunction()

# tessaran_tests(<folder> [QT] [COMMA_LOCALE] DEPS <targets>...)
# One GoogleTest executable per tests/<folder>, from every .cpp in it.
# COMMA_LOCALE registers every test a second time under a comma-decimal
# locale (suffix ".comma"), for formatters and readers of numbers.
function(tessaran_tests folder)
  cmake_parse_arguments(ARG "QT;COMMA_LOCALE" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(exe ${folder}_tests)
  if(ARG_QT)
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/support/qt/QtTestMain.cpp)
  else()
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/support/TestMain.cpp)
  endif()
  add_executable(${exe} ${sources})
  target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${exe} PRIVATE ${ARG_DEPS} testsupport GTest::gtest GTest::gmock)
  if(ARG_QT)
    set_target_properties(${exe} PROPERTIES AUTOMOC ON)
    target_link_libraries(${exe} PRIVATE Qt6::Widgets Qt6::Test)
  endif()
  target_compile_definitions(${exe} PRIVATE
    TESSARAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TESSARAN_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${exe}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
  if(ARG_COMMA_LOCALE)
    gtest_discover_tests(${exe}
      TEST_SUFFIX .comma
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=de_DE.UTF-8"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
