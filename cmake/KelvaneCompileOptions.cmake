# Warnings and sanitizers for every target of ours, applied through one interface target
# so that nothing is set globally.
add_library(kelvane_compile_options INTERFACE)
target_compile_options(kelvane_compile_options INTERFACE -Wall -Wextra -Wpedantic)
if(KELVANE_WERROR)
    target_compile_options(kelvane_compile_options INTERFACE -Werror)
endif()

if(KELVANE_SANITIZE)
    target_compile_options(kelvane_compile_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(kelvane_compile_options INTERFACE -fsanitize=address,undefined)
endif()

if(KELVANE_BUILD_FUZZERS)
    target_compile_options(kelvane_compile_options INTERFACE
        -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
    target_link_options(kelvane_compile_options INTERFACE -fsanitize=address)
endif()
