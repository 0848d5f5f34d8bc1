# Compiler flags shared by every target of the project.
add_library(quill_flags INTERFACE)
target_compile_options(quill_flags INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
if(QUILL_WERROR)
  target_compile_options(quill_flags INTERFACE -Werror)
endif()
if(QUILL_SANITIZE)
  target_compile_options(quill_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                         -fno-sanitize-recover=undefined)
  target_link_options(quill_flags INTERFACE -fsanitize=address,undefined)
endif()
