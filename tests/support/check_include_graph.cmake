# Checks that the program's folders include each other in one direction only:
# a folder may include its own headers and those of folders on a lower floor,
# never a folder on its own floor or above. Strictly falling floors mean the
# folder include graph has no cycle.
#   cmake -DSOURCE_DIR=<repository root> -P check_include_graph.cmake
# Every library folder shares the repository root as its include folder, so
# the compiler refuses nothing: an include is judged by the file it names, in
# quotes or angle brackets, with "." and ".." resolved the way the compiler
# does, and every folder the build adds must have a floor.
cmake_minimum_required(VERSION 3.25)
set(floor_core 0)
set(floor_resources 0)
set(floor_forms 1)
set(floor_settings 1)
set(floor_about 2)
set(floor_main_window 3)
set(floor_app 4)
# Built on top of the program, these may include any folder.
set(users tests bench fuzz)

cmake_path(SET root NORMALIZE "${SOURCE_DIR}/")
set(faults "")

file(STRINGS "${root}CMakeLists.txt" additions REGEX "^[ \t]*add_subdirectory[ \t]*\\(")
set(folders "")
foreach(line IN LISTS additions)
    string(REGEX REPLACE "^[ \t]*add_subdirectory[ \t]*\\([ \t]*([^ \t)]+).*" "\\1" folder "${line}")
    if(folder IN_LIST users)
        continue()
    endif()
    if(DEFINED floor_${folder})
        list(APPEND folders ${folder})
    else()
        list(APPEND faults "${folder}: a folder of the build without a floor")
    endif()
endforeach()

set(include_line "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE sources "${root}${folder}/*.h" "${root}${folder}/*.cpp" "${root}${folder}/*.in")
    foreach(source IN LISTS sources)
        file(RELATIVE_PATH name "${root}" "${source}")
        file(STRINGS "${source}" includes REGEX "${include_line}")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "${include_line}.*" "\\1" quote "${line}")
            string(REGEX REPLACE "${include_line}.*" "\\2" included "${line}")
            # A quoted name is looked for beside the including file first,
            # then, like one in angle brackets, from the repository root.
            set(target_file "")
            if(quote STREQUAL "\"")
                cmake_path(GET source PARENT_PATH beside)
                cmake_path(APPEND beside "${included}" OUTPUT_VARIABLE candidate)
                cmake_path(NORMAL_PATH candidate)
                if(EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
                    set(target_file "${candidate}")
                endif()
            endif()
            if(NOT target_file)
                cmake_path(APPEND root "${included}" OUTPUT_VARIABLE target_file)
                cmake_path(NORMAL_PATH target_file)
            endif()
            cmake_path(IS_PREFIX root "${target_file}" NORMALIZE inside)
            if(NOT inside)
                list(APPEND faults "${name}: includes ${included}, outside the repository")
                continue()
            endif()
            file(RELATIVE_PATH relative "${root}" "${target_file}")
            string(REGEX REPLACE "/.*" "" target "${relative}")
            # Library headers (Qt's, the system's) name no folder of the repository.
            if(target STREQUAL relative OR NOT IS_DIRECTORY "${root}${target}" OR target STREQUAL folder)
                continue()
            endif()
            if(NOT DEFINED floor_${target})
                list(APPEND faults "${name}: ${folder} includes ${included}, from ${target}, which has no floor")
            elseif(NOT floor_${target} LESS floor_${folder})
                list(APPEND faults "${name}: ${folder} (floor ${floor_${folder}}) includes ${included}, from ${target} (floor ${floor_${target}})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " report)
    message(FATAL_ERROR "Includes against the folder order:\n  ${report}")
endif()
message(STATUS "Folder includes fall from app to main_window, about, settings/forms, core: no cycle")
