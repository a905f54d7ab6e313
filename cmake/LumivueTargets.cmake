# Helpers shared by every deliverable's CMakeLists.

# lumivue_shared_library(NAME SOURCES... [PUBLIC_HEADERS h...])
# A C-ABI shared library in the program folder: hidden by default, version record linked in,
# its public headers and a pkg-config file installed with it.
function(lumivue_shared_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_HEADERS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE lumivue_version_record)
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
  set_target_properties(${name} PROPERTIES PUBLIC_HEADER "${ARG_PUBLIC_HEADERS}")
  install(TARGETS ${name} LIBRARY DESTINATION lib PUBLIC_HEADER DESTINATION include/lumivue)
  set(LUMIVUE_PC_NAME ${name})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/library.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc DESTINATION lib/pkgconfig)
endfunction()

# lumivue_program_file(SOURCE DEST)
# Copies a committed run-time data file into the program folder at build time.
function(lumivue_program_file source dest)
  get_filename_component(abs_source ${source} ABSOLUTE)
  set(out ${LUMIVUE_PROGRAM_DIR}/${dest})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${abs_source} ${out}
    DEPENDS ${abs_source} VERBATIM)
  string(MAKE_C_IDENTIFIER "program_file_${dest}" target)
  add_custom_target(${target} ALL DEPENDS ${out})
endfunction()

# lumivue_gtest(NAME SOURCES... LIBS libs... [QT] [LABELS l...])
# A GoogleTest binary registered with CTest. QT gives it a QApplication on the offscreen platform.
function(lumivue_gtest name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} lumivue_qt_test_main GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gtest)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  gtest_discover_tests(${name}
    # One variable only: a ";" in a property value splits it apart on its way through test
    # discovery, shifting every property after it. Qt tests choose the offscreen platform in
    # their own main (QtTestMain.cpp).
    PROPERTIES ENVIRONMENT "LUMIVUE_TEST_DATA=${CMAKE_SOURCE_DIR}/tests"
               LABELS "${ARG_LABELS}" TIMEOUT 300
    DISCOVERY_TIMEOUT 60)
endfunction()
