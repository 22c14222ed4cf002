# Checks that the program's folders include each other in one direction only:
# a folder may include its own headers and those of folders on a lower floor,
# never a folder on its own floor or above. Strictly falling floors mean the
# folder include graph has no cycle.
#   cmake -DSOURCE_DIR=<repository root> -P check_include_graph.cmake
set(floor_core 0)
set(floor_resources 0)
set(floor_forms 1)
set(floor_settings 1)
set(floor_about 2)
set(floor_main_window 3)
set(floor_app 4)
set(folders core resources forms settings about main_window app)

set(faults "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.in")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
            if(target STREQUAL folder OR NOT DEFINED floor_${target})
                continue()
            endif()
            if(NOT floor_${target} LESS floor_${folder})
                file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
                list(APPEND faults "${name}: ${folder} (floor ${floor_${folder}}) includes ${target} (floor ${floor_${target}})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " report)
    message(FATAL_ERROR "Includes against the folder order:\n  ${report}")
endif()
message(STATUS "Folder includes fall from app to main_window, about, settings/forms, core: no cycle")
