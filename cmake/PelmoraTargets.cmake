# Helpers shared by the directories of the tree.
#
# Headers are included from the top of the tree (#include "platform/runtime/Format.h"), but a
# target sees only the layers it links: each library publishes a view of the tree in the build
# folder (include/<target>/) that holds links to its own directories and nothing else, so a
# header of a layer the target does not use is not found.

# pelmora_headers(TARGET DIRS...) publishes DIRS (paths from the top of the tree) to TARGET and
# to every target that links it.
function(pelmora_headers target)
    set(view ${PROJECT_BINARY_DIR}/include/${target})
    foreach(dir ${ARGN})
        get_filename_component(parent ${view}/${dir} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${view}/${dir} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${view})
    else()
        target_include_directories(${target} PUBLIC ${view})
    endif()
endfunction()

# pelmora_layer(NAME LIBS...) builds the static library pelmora_<NAME> from every .cpp and .h of
# the calling directory, so that adding a source file needs no CMake edit, and publishes that
# directory's headers.
function(pelmora_layer name)
    file(GLOB sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(compiled)
        add_library(pelmora_${name} STATIC ${sources})
        target_link_libraries(pelmora_${name} PUBLIC ${ARGN})
    else()
        add_library(pelmora_${name} INTERFACE)
        target_link_libraries(pelmora_${name} INTERFACE ${ARGN})
    endif()
    file(RELATIVE_PATH dir ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    pelmora_headers(pelmora_${name} ${dir})
endfunction()

# pelmora_test(NAME SOURCES...|GLOB LIBS libs...) builds one GoogleTest program with the shared
# main and registers each of its tests with CTest.  With GLOB, every .cpp of the calling directory.
# The program finds the folder for the pictures it keeps in PELMORA_TEST_PICTURES.
function(pelmora_test name)
    cmake_parse_arguments(T "GLOB" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    set(sources ${T_SOURCES})
    if(T_GLOB)
        file(GLOB globbed CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
             ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
        list(APPEND sources ${globbed})
    endif()
    if(NOT sources)
        return() # a test directory that has no tests yet
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE pelmora_test_support ${T_LIBS})
    target_compile_definitions(${name} PRIVATE PELMORA_TEST_PICTURES="${PELMORA_TEST_PICTURES}")
    # Tests on the X display take it one at a time: without a window manager, a window that
    # another test activates takes the keyboard from this test's window.
    set(offscreen_properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${T_PROPERTIES})
    if("QT_QPA_PLATFORM=xcb" IN_LIST T_PROPERTIES)
        list(APPEND offscreen_properties RESOURCE_LOCK XDisplay)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         TEST_FILTER "-*OnScreen.*"
                         PROPERTIES ${offscreen_properties})
    # Suites named "...OnScreen" show windows for real and drive them, on the X display the
    # tests run under (Xvfb).
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         TEST_FILTER "*OnScreen.*"
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" ${T_PROPERTIES}
                                    RESOURCE_LOCK XDisplay)
endfunction()

# pelmora_fixture_paths(TARGET) tells a test program where the shared fixtures are:
# PELMORA_SAMPLE_CUBE (the sample cube file) and PELMORA_XMLA_URL_FILE (holds the server's URL).
function(pelmora_fixture_paths target)
    target_compile_definitions(${target} PRIVATE
        PELMORA_SAMPLE_CUBE="${PELMORA_SAMPLE_CUBE}"
        PELMORA_XMLA_URL_FILE="${PELMORA_XMLA_STATE}/url")
endfunction()
