# Compiler settings shared by every target of the project.
add_library(lumbrix_settings INTERFACE)
target_compile_options(lumbrix_settings INTERFACE -Wall -Wextra -Wpedantic)
if(LUMBRIX_WERROR)
  target_compile_options(lumbrix_settings INTERFACE -Werror)
endif()
if(LUMBRIX_SANITIZE)
  target_compile_options(lumbrix_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lumbrix_settings INTERFACE -fsanitize=address,undefined)
endif()
