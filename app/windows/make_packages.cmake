# Makes the portable zip and the installer from what `cmake --install` lays
# out for Windows. Run with cmake -P and these variables:
#   BUILD_DIR      the Windows build folder
#   OUTPUT_DIR     where the zip and the installer go
#   PACKAGE_NAME   their name, without extension
#   FOLDER_NAME    the folder the zip unpacks to
#   MTIME          the time stamp of the files in the zip
#   STRIP          the strip tool for Windows programs
#   MAKENSIS       NSIS's compiler
#   NSIS_SCRIPT    the installer's script
cmake_minimum_required(VERSION 3.25)

set(stage ${OUTPUT_DIR}/${PACKAGE_NAME}.files)
set(folder ${stage}/${FOLDER_NAME})
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${folder} --strip
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# The DLLs come with their debugging information, several times their size.
file(GLOB_RECURSE libraries ${folder}/*.dll)
execute_process(COMMAND ${STRIP} --strip-unneeded ${libraries} COMMAND_ERROR_IS_FATAL ANY)

set(zip ${OUTPUT_DIR}/${PACKAGE_NAME}.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip --mtime=${MTIME} ${FOLDER_NAME}
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)

# The installer installs and uninstalls the same files: a list of both, made
# from the laid-out folder, one output folder at a time.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
list(SORT files)
set(install_lines "")
set(uninstall_lines "")
set(folders "")
set(current_folder "-")
foreach(file IN LISTS files)
    get_filename_component(file_folder "${file}" DIRECTORY)
    string(REPLACE "/" "\\" windows_file "${file}")
    string(REPLACE "/" "\\" windows_folder "${file_folder}")
    if(NOT file_folder STREQUAL current_folder)
        set(current_folder "${file_folder}")
        if(file_folder STREQUAL "")
            string(APPEND install_lines "    SetOutPath \"$INSTDIR\"\n")
        else()
            string(APPEND install_lines "    SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
        endif()
    endif()
    string(APPEND install_lines "    File \"${folder}/${file}\"\n")
    string(APPEND uninstall_lines "    Delete \"$INSTDIR\\${windows_file}\"\n")
    while(NOT file_folder STREQUAL "")
        string(REPLACE "/" "\\" windows_folder "${file_folder}")
        list(APPEND folders "${windows_folder}")
        get_filename_component(file_folder "${file_folder}" DIRECTORY)
    endwhile()
endforeach()
# Deeper folders first, so that each is empty when its turn comes.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(windows_folder IN LISTS folders)
    string(APPEND uninstall_lines "    RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
set(file_list ${stage}/files.nsh)
file(WRITE ${file_list} "!macro InstallFiles\n${install_lines}!macroend\n\n!macro UninstallFiles\n${uninstall_lines}!macroend\n")

execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DFILE_LIST=${file_list}
        -DOUTFILE=${OUTPUT_DIR}/${PACKAGE_NAME}-setup.exe ${NSIS_SCRIPT}
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
