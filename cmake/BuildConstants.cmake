# Values that a sibling build or a test build may change without touching the code.
set(LUMBRIX_VENDOR_SITE "https://www.vantrel.example" CACHE STRING "Vendor web site")
set(LUMBRIX_SUPPORT_MAIL "support@vantrel.example" CACHE STRING "Support mailbox")
set(LUMBRIX_UPDATE_HOST "update.vantrel.example" CACHE STRING "Update server host")
set(LUMBRIX_UPDATE_PORT 80 CACHE STRING "Update server port")
set(LUMBRIX_NOTICE "Copyright © 2026 Vantrel. All rights reserved." CACHE STRING "Notice line")
set(LUMBRIX_ABOUT_LINE "Converts PNG images to Photoshop documents." CACHE STRING "About window second line")
set(LUMBRIX_WATERMARK_TEXT "Converted with Vantrel PNG to PSD" CACHE STRING "Default watermark text")
set(LUMBRIX_APP_ID "example.vantrel.Lumbrix" CACHE STRING "Desktop entry and AppStream id")
set(LUMBRIX_HELP_FILE "Lumbrix.html" CACHE STRING "The user manual that Help > User Manual opens")
# Where installed programs find each other, their data and the manual, relative to their own
# folders: the console program in bin/, the window program and the drawing console program in
# libexec/lumbrix/.
include(GNUInstallDirs)
set(LUMBRIX_PROGRAM_FOLDER ${CMAKE_INSTALL_FULL_BINDIR})
set(LUMBRIX_WINDOW_PROGRAM_FOLDER ${CMAKE_INSTALL_FULL_LIBEXECDIR}/lumbrix)
file(RELATIVE_PATH LUMBRIX_LIBEXEC_FROM_PROGRAM ${LUMBRIX_PROGRAM_FOLDER}
     ${LUMBRIX_WINDOW_PROGRAM_FOLDER})
foreach(from PROGRAM WINDOW_PROGRAM)
  file(RELATIVE_PATH LUMBRIX_DATA_FROM_${from} ${LUMBRIX_${from}_FOLDER}
       ${CMAKE_INSTALL_FULL_DATADIR}/lumbrix)
  file(RELATIVE_PATH LUMBRIX_DOC_FROM_${from} ${LUMBRIX_${from}_FOLDER} ${CMAKE_INSTALL_FULL_DOCDIR})
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_constants.h.in
  ${CMAKE_BINARY_DIR}/generated/build_constants.h @ONLY)
