# What a Windows program built here needs beside it at run time besides Qt's
# own DLLs: MinGW's C++ runtime and the libcurl that the version check loads.
set(FERROX_MINGW_RUNTIME_DLLS "")
foreach(dll IN ITEMS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know where ${dll} is")
    endif()
    file(REAL_PATH ${path} path)
    list(APPEND FERROX_MINGW_RUNTIME_DLLS ${path})
endforeach()

# Beside the headers the build was given (windows/curl-for-windows.sh makes both).
cmake_path(GET CURL_INCLUDE_DIRS PARENT_PATH curl_prefix)
set(FERROX_CURL_DLL ${curl_prefix}/bin/libcurl-4.dll)
if(NOT EXISTS ${FERROX_CURL_DLL})
    message(FATAL_ERROR "No ${FERROX_CURL_DLL} beside the libcurl headers in ${CURL_INCLUDE_DIRS}")
endif()
