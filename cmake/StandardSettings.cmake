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
# The hardening Debian builds its packages with; sanitizer and fuzz builds check memory their own
# way, and fortified calls need optimisation.
if(NOT LUMBRIX_SANITIZE AND NOT LUMBRIX_FUZZ)
  target_compile_options(lumbrix_settings INTERFACE -fstack-protector-strong
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  target_link_options(lumbrix_settings INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()
