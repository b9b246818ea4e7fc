# Every library comes from the distribution; those without a CMake package are found by hand.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Network Widgets Test)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(LibArchive REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)

find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h REQUIRED)
find_library(FREEIMAGE_LIBRARY NAMES freeimage REQUIRED)
add_library(FreeImage::FreeImage UNKNOWN IMPORTED)
set_target_properties(FreeImage::FreeImage PROPERTIES
  IMPORTED_LOCATION "${FREEIMAGE_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${FREEIMAGE_INCLUDE_DIR}")
# The same library's archive, which the console program links where the distribution has it.
find_library(FREEIMAGE_ARCHIVE NAMES libfreeimage.a)
if(FREEIMAGE_ARCHIVE)
  add_library(FreeImage::Archive STATIC IMPORTED)
  set_target_properties(FreeImage::Archive PROPERTIES
    IMPORTED_LOCATION "${FREEIMAGE_ARCHIVE}"
    INTERFACE_INCLUDE_DIRECTORIES "${FREEIMAGE_INCLUDE_DIR}")
endif()

# DevIL only for the tests: the reference the PSD without layers is compared with.
find_path(DEVIL_INCLUDE_DIR IL/il.h REQUIRED)
find_library(DEVIL_IL_LIBRARY NAMES IL REQUIRED)
add_library(DevIL::IL UNKNOWN IMPORTED)
set_target_properties(DevIL::IL PROPERTIES
  IMPORTED_LOCATION "${DEVIL_IL_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${DEVIL_INCLUDE_DIR}")
