# Settings shared by every target: link vorlix_options instead of repeating flags.
add_library(vorlix_options INTERFACE)
target_compile_options(vorlix_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
target_compile_definitions(vorlix_options INTERFACE $<$<CONFIG:Debug>:VORLIX_DEBUG>)

if(VORLIX_SANITIZE)
    target_compile_options(vorlix_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(vorlix_options INTERFACE -fsanitize=address,undefined)
endif()
