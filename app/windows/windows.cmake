# The program for Windows: its identity in the program file, a GUI program
# without a console window, and what the portable zip and the installer
# hold. Included by app/CMakeLists.txt for Windows builds only.
enable_language(RC)

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE FERROX_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
set(FERROX_ICON_FILE ${PROJECT_SOURCE_DIR}/resources/icon.ico)
set(FERROX_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/${PROJECT_NAME}.exe.manifest)
configure_file(windows/${PROJECT_NAME}.exe.manifest.in ${FERROX_MANIFEST_FILE} @ONLY)
configure_file(windows/${PROJECT_NAME}.rc.in ${PROJECT_NAME}.rc @ONLY)
target_sources(FerroxSpdCalc PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${PROJECT_NAME}.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${PROJECT_NAME}.rc PROPERTIES
    OBJECT_DEPENDS "${FERROX_ICON_FILE};${FERROX_MANIFEST_FILE}")
set_target_properties(FerroxSpdCalc PROPERTIES WIN32_EXECUTABLE ON)
# The version check loads libcurl from the program's folder only.
add_custom_command(TARGET FerroxSpdCalc POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${FERROX_CURL_DLL} $<TARGET_FILE_DIR:FerroxSpdCalc>)

# `cmake --install` lays out the portable folder: the program, exactly the
# DLLs it loads, Qt's plug-ins in the folders Qt looks in, the licences.
install(TARGETS FerroxSpdCalc RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES windows/qt.conf DESTINATION .)
# MinGW's runtime, and libcurl, which the version check loads from the program's folder.
install(FILES ${FERROX_MINGW_RUNTIME_DLLS} ${FERROX_CURL_DLL} DESTINATION .)

# The notices name each library's version and the source it was built from.
execute_process(COMMAND dpkg-query --show --showformat=\${Version} libqt6core6
    OUTPUT_VARIABLE FERROX_QT_DEBIAN_VERSION COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET FERROX_CURL_DLL FILENAME FERROX_CURL_DLL_NAME)
cmake_path(GET FERROX_CURL_DLL PARENT_PATH curl_licences)
cmake_path(APPEND curl_licences .. share licenses)
cmake_path(NORMAL_PATH curl_licences)
file(STRINGS ${curl_licences}/SOURCES curl_sources)
list(JOIN curl_sources " and " FERROX_CURL_SOURCES)
set(FERROX_CURL_VERSION ${CURL_VERSION_STRING})
configure_file(windows/THIRD-PARTY-NOTICES.txt.in THIRD-PARTY-NOTICES.txt @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt DESTINATION .)
# The licence texts as Debian ships them with the same software, and those
# that windows/curl-for-windows.sh keeps with libcurl.
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licenses RENAME LGPL-3.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licenses RENAME GPL-3.txt)
install(FILES /usr/share/doc/libqt6core6/copyright DESTINATION licenses RENAME Qt-copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licenses RENAME GCC-runtime.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licenses RENAME MinGW-w64.txt)
install(FILES ${curl_licences}/curl.txt ${curl_licences}/zlib.txt DESTINATION licenses)

# `cmake --build <folder> --target package` makes the portable zip and the
# installer in the build folder.
find_program(FERROX_MAKENSIS makensis REQUIRED)
set(FERROX_COMPANY_FOLDER Quorvel) # %APPDATA%\Quorvel\FerroxSpdCalc
configure_file(windows/installer.nsi.in installer.nsi @ONLY)
add_custom_target(package
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DOUTPUT_DIR=${CMAKE_BINARY_DIR}
        -DPACKAGE_NAME=${PROJECT_NAME}-${FERROX_VERSION_TEXT}-windows-x64 -DFOLDER_NAME=${PROJECT_NAME}
        -DMTIME=${FERROX_RELEASE_DATE} -DSTRIP=${CMAKE_STRIP} -DMAKENSIS=${FERROX_MAKENSIS}
        -DNSIS_SCRIPT=${CMAKE_CURRENT_BINARY_DIR}/installer.nsi -P ${CMAKE_CURRENT_LIST_DIR}/make_packages.cmake
    DEPENDS FerroxSpdCalc
    COMMENT "Making the portable zip and the installer"
    VERBATIM)
