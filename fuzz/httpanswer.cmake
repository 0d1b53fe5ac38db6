# The libFuzzer harness of the HTTP answer reader: the reader's own source built with the
# fuzzer's instrumentation, so nothing else of Korvane needs it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz harnesses need clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()
add_executable(fuzz_httpanswer
    ${PROJECT_SOURCE_DIR}/fuzz/fuzz_httpanswer.cpp
    ${PROJECT_SOURCE_DIR}/src/net/httpanswerparser.cpp)
target_include_directories(fuzz_httpanswer PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/src/net)
target_compile_options(fuzz_httpanswer PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_httpanswer PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_httpanswer PRIVATE Qt6::Core)
