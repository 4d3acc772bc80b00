# Helpers shared by the directories of the tree.
#
# pelmora_layer(NAME LIBS...) builds the static library pelmora_<NAME> from every .cpp and .h of
# the calling directory, so that adding a source file needs no CMake edit.
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
endfunction()

# pelmora_test(NAME SOURCES...|GLOB LIBS libs...) builds one GoogleTest program with the shared
# main and registers each of its tests with CTest.  With GLOB, every .cpp of the calling directory.
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
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         TEST_FILTER "-*OnScreen.*"
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${T_PROPERTIES})
    # Suites named "...OnScreen" show windows for real and drive them, on the X display the
    # tests run under (Xvfb).
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         TEST_FILTER "*OnScreen.*"
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" ${T_PROPERTIES})
endfunction()

# pelmora_fixture_paths(TARGET) tells a test program where the shared fixtures are:
# PELMORA_SAMPLE_CUBE (the sample cube file) and PELMORA_XMLA_URL_FILE (holds the server's URL).
function(pelmora_fixture_paths target)
    target_compile_definitions(${target} PRIVATE
        PELMORA_SAMPLE_CUBE="${PELMORA_SAMPLE_CUBE}"
        PELMORA_XMLA_URL_FILE="${PELMORA_XMLA_STATE}/url")
endfunction()
