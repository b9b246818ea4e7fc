# The default theme "handdrawn": our own icons, drawn by art/render_theme at build time and
# packed with their theme.cfg into gfx/handdrawn.zip beside the program.
add_executable(lumbrix_render_theme
  ${CMAKE_SOURCE_DIR}/art/render_theme.cpp
  ${CMAKE_SOURCE_DIR}/art/sketch_style.cpp
  ${CMAKE_SOURCE_DIR}/art/contact_sheet.cpp)
target_link_libraries(lumbrix_render_theme PRIVATE lumbrix_prefs Qt6::Gui)

set(LUMBRIX_THEME_STAGE ${CMAKE_BINARY_DIR}/art/handdrawn)
set(LUMBRIX_THEME_ZIP ${CMAKE_BINARY_DIR}/gfx/handdrawn.zip)
add_custom_command(OUTPUT ${LUMBRIX_THEME_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${LUMBRIX_THEME_STAGE}
  COMMAND lumbrix_render_theme ${LUMBRIX_THEME_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/gfx
  COMMAND ${CMAKE_COMMAND} -E chdir ${LUMBRIX_THEME_STAGE}
          ${CMAKE_COMMAND} -E tar cf ${LUMBRIX_THEME_ZIP} --format=zip --mtime=2026-01-01 --files-from=files.txt
  DEPENDS lumbrix_render_theme
  COMMENT "Drawing the handdrawn theme"
  VERBATIM)
add_custom_target(lumbrix_theme ALL DEPENDS ${LUMBRIX_THEME_ZIP})
add_dependencies(lumbrix lumbrix_theme)
if(TARGET lumbrix_unit_tests)
  add_dependencies(lumbrix_unit_tests lumbrix_theme)
endif()

# Redraws docs/theme-contact-sheet.png; run by hand after changing the artwork.
add_custom_target(lumbrix_theme_contact_sheet
  COMMAND lumbrix_render_theme --contact-sheet ${CMAKE_SOURCE_DIR}/docs/theme-contact-sheet.png
  DEPENDS lumbrix_render_theme
  VERBATIM)
