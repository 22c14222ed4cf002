# The instrumented build: AddressSanitizer and UndefinedBehaviorSanitizer on
# every target, the first report ending the program that made it. Built with
# clang, the same folder also builds the libFuzzer targets of fuzz/.
option(FERROX_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(NOT FERROX_SANITIZE)
    return()
endif()

add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # Coverage counters in every object, so that the fuzz targets see which
    # branches of our code an input reached; ordinary programs ignore them.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The sanitizers' settings for every test of this build: CTest reads this file
# before it runs any test, and each test inherits the environment it sets.
file(WRITE ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake
"set(ENV{ASAN_OPTIONS} \"halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1\")
set(ENV{UBSAN_OPTIONS} \"halt_on_error=1:print_stacktrace=1\")
set(ENV{LSAN_OPTIONS} \"suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0\")
")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake)
