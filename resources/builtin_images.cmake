# The symbol sheet and the stitch tile, embedded as Qt resources ":/SYMBOLS" and ":/STITCH", and
# the symbol font with the sheet's glyphs as outlines, ":/SYMBOL_FONT". The images are plain-text
# Netpbm files and the font a TrueType file, all made by resources/tools/draw_glyphs.py and
# committed, so the build needs neither Python nor the tools that script uses. Qt's own PBM/PPM
# reader loads the images and its font database the font.
#
# On a static library qt_add_resources builds the resource into object files that travel with
# the library to every executable linking it, so the images register themselves at start-up.
set(PELVANO_BUILTIN_IMAGES_DIR "${CMAKE_CURRENT_LIST_DIR}")

function(pelvano_add_builtin_images target)
  set(symbols "${PELVANO_BUILTIN_IMAGES_DIR}/symbols.pbm")
  set(stitch "${PELVANO_BUILTIN_IMAGES_DIR}/stitch.ppm")
  set(font "${PELVANO_BUILTIN_IMAGES_DIR}/symbols.ttf")
  set_source_files_properties("${symbols}" PROPERTIES QT_RESOURCE_ALIAS SYMBOLS)
  set_source_files_properties("${stitch}" PROPERTIES QT_RESOURCE_ALIAS STITCH)
  set_source_files_properties("${font}" PROPERTIES QT_RESOURCE_ALIAS SYMBOL_FONT)
  qt_add_resources(${target} pelvano_builtin_images
    PREFIX "/"
    FILES "${symbols}" "${stitch}" "${font}")
endfunction()
