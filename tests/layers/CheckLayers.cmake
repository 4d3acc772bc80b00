# Fails when a source file includes a header of a layer its own layer may not use: arrows only
# point down. Run by CTest as
#   cmake -DSOURCE_DIR=<top of the tree> -DQT_INCLUDE_DIR=<Qt's include root> -P CheckLayers.cmake
# A header of the tree is named from the top of the tree ("platform/forms/MsgBox.h"); a Qt
# header (<QColor>, <QtGui/QColor>, <QtGui>) belongs to the Qt module whose folder holds it.

cmake_minimum_required(VERSION 3.25)

# A rule: the folder it covers, then the folders of the tree its files may include. The first rule
# whose folder holds a file applies.
set(rules
    "platform/olap/mdx|platform/olap/mdx,platform/runtime"
    "platform/olap|platform/olap,platform/runtime"
    "platform/runtime|platform/runtime"
    "platform/registry|platform/registry,platform/runtime"
    "platform/forms|platform/forms,platform/runtime"
    "platform/automation|platform/automation,platform/registry,platform/forms,platform/runtime"
    "platform/grid|platform/grid,platform/forms,platform/runtime"
    "platform/printer|platform/printer,platform/forms,platform/runtime"
    "platform/chart|platform/chart,platform/forms,platform/runtime"
    "platform/widgets|platform/widgets,platform/forms,platform/runtime"
    "platform|platform"
    "Control|Control,platform"
    "PelmoraApp|PelmoraApp,Control,platform"
    "uninstaller|uninstaller,platform/registry,platform/runtime,platform/forms,platform/automation")
# The folders of the tree a quoted include can name.
set(tree_folders platform Control PelmoraApp uninstaller tools bench tests)
# Layers that stay free of Qt Gui and Widgets: the Qt modules their files may include.
set(qt_rules
    "platform/olap|QtCore,QtNetwork"
    "platform/runtime|QtCore"
    "platform/registry|QtCore")

if(NOT IS_DIRECTORY "${SOURCE_DIR}/platform")
    message(FATAL_ERROR "SOURCE_DIR must name the top of the tree (got '${SOURCE_DIR}')")
endif()
if(NOT IS_DIRECTORY "${QT_INCLUDE_DIR}/QtCore")
    message(FATAL_ERROR "QT_INCLUDE_DIR must name Qt's include root (got '${QT_INCLUDE_DIR}')")
endif()

# The first rule of RULES whose folder holds FILE (a path from the top), in OUT ("" if none).
function(rule_for file rules out)
    foreach(rule ${rules})
        string(REPLACE "|" ";" parts "${rule}")
        list(GET parts 0 folder)
        string(FIND "${file}" "${folder}/" at)
        if(at EQUAL 0)
            list(GET parts 1 allowed)
            string(REPLACE "," ";" allowed "${allowed}")
            set(${out} "${allowed}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

# The Qt modules holding HEADER, in OUT (cached: many files include the same headers).
function(qt_modules header out)
    string(MAKE_C_IDENTIFIER "${header}" key)
    if(DEFINED CACHED_${key})
        set(${out} "${CACHED_${key}}" PARENT_SCOPE)
        return()
    endif()
    set(modules "")
    string(REGEX MATCH "^Qt[A-Za-z0-9]+" first "${header}")
    if(first AND IS_DIRECTORY "${QT_INCLUDE_DIR}/${first}")
        set(modules ${first}) # <QtGui/QColor> or the module header <QtGui>
    elseif(header MATCHES "^Q[^/]*$")
        file(GLOB holders "${QT_INCLUDE_DIR}/Qt*/${header}")
        foreach(holder ${holders})
            get_filename_component(folder "${holder}" DIRECTORY)
            get_filename_component(module "${folder}" NAME)
            list(APPEND modules ${module})
        endforeach()
    endif()
    set(CACHED_${key} "${modules}" PARENT_SCOPE)
    set(${out} "${modules}" PARENT_SCOPE)
endfunction()

set(violations 0)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/platform/*.h" "${SOURCE_DIR}/platform/*.cpp"
     "${SOURCE_DIR}/Control/*.h" "${SOURCE_DIR}/Control/*.cpp"
     "${SOURCE_DIR}/PelmoraApp/*.h" "${SOURCE_DIR}/PelmoraApp/*.cpp"
     "${SOURCE_DIR}/uninstaller/*.h" "${SOURCE_DIR}/uninstaller/*.cpp")
foreach(file ${sources})
    rule_for("${file}" "${rules}" allowed)
    rule_for("${file}" "${qt_rules}" allowed_qt)
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
        if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()
        set(kind "${CMAKE_MATCH_1}")
        set(header "${CMAKE_MATCH_2}")
        if(kind STREQUAL "\"" AND allowed)
            string(REGEX MATCH "^[^/]+" top "${header}")
            if(NOT top IN_LIST tree_folders OR header STREQUAL top)
                continue() # a file of the build (a generated header), not of the tree's layers
            endif()
            set(permitted FALSE)
            foreach(folder ${allowed})
                string(FIND "${header}" "${folder}/" at)
                if(at EQUAL 0)
                    set(permitted TRUE)
                endif()
            endforeach()
            if(NOT permitted)
                list(JOIN allowed ", " folders)
                message("${file}: includes \"${header}\"; it may include only from: ${folders}")
                math(EXPR violations "${violations} + 1")
            endif()
        elseif(kind STREQUAL "<" AND allowed_qt)
            qt_modules("${header}" modules)
            if(modules)
                set(permitted FALSE)
                foreach(module ${modules})
                    if(module IN_LIST allowed_qt)
                        set(permitted TRUE)
                    endif()
                endforeach()
                if(NOT permitted)
                    list(JOIN modules ", " names)
                    list(JOIN allowed_qt ", " permitted_modules)
                    message("${file}: includes <${header}> of ${names}; "
                            "it may use only the Qt modules: ${permitted_modules}")
                    math(EXPR violations "${violations} + 1")
                endif()
            endif()
        endif()
    endforeach()
endforeach()

list(LENGTH sources checked)
if(violations GREATER 0)
    message(FATAL_ERROR "${violations} include(s) of a layer above or beside the file's own")
endif()
message("${checked} files include only the layers below their own")
