# Fails when a file of the engine (the commits, postings, audit, call capture and
# reservation logic) includes a window header. Run by ctest:
#   cmake -DLISTS=<file> -P check_engine_includes.cmake
#   cmake -DSOURCE_DIR=<src> -DENGINE_FILES=<file> -DWINDOW_HEADERS=<header> -P check_engine_includes.cmake
# LISTS names a CMake file that sets SOURCE_DIR, ENGINE_FILES (the engine's sources and
# headers, full paths) and WINDOW_HEADERS (the headers of the windows, as included from
# SOURCE_DIR: "frontdesk/form1.h"). Whatever the lists say, a header named formN.h or
# app.h is a window header.
cmake_minimum_required(VERSION 3.25)

if(DEFINED LISTS)
    include(${LISTS})
endif()
if(NOT SOURCE_DIR OR NOT ENGINE_FILES)
    message(FATAL_ERROR "check_engine_includes: SOURCE_DIR and ENGINE_FILES are needed")
endif()

set(found "")
foreach(file IN LISTS ENGINE_FILES)
    if(NOT EXISTS "${file}")
        continue() # a header an engine source does not have
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    cmake_path(GET file PARENT_PATH folder)
    cmake_path(RELATIVE_PATH folder BASE_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE folder)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" included "${line}")
        # As written from the source folder, or beside the including file.
        set(beside "${folder}/${included}")
        cmake_path(NORMAL_PATH beside)
        set(window FALSE)
        if(included MATCHES "(^|/)(form[0-9]+|app)\\.h$")
            set(window TRUE)
        elseif(included IN_LIST WINDOW_HEADERS OR beside IN_LIST WINDOW_HEADERS)
            set(window TRUE)
        endif()
        if(window)
            cmake_path(RELATIVE_PATH file BASE_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE shown)
            string(APPEND found "  ${shown}: #include \"${included}\"\n")
        endif()
    endforeach()
endforeach()

if(found)
    message(FATAL_ERROR "The engine includes window headers; it must not know the windows:\n${found}")
endif()
list(LENGTH ENGINE_FILES count)
message(STATUS "${count} engine files checked: no window header included")
