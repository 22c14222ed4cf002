# The program for Windows: its identity in the program file and a GUI
# program without a console window. Included by app/CMakeLists.txt for
# Windows builds only.
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
