# A Debian package of what `cmake --install` puts in place:
#   cmake --build <dir> --target pelvano pelvano-cli && (cd <dir> && cpack -G DEB)
set(CPACK_PACKAGE_NAME pelvano)
set(CPACK_PACKAGE_VENDOR "Pelvano")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cross-stitch pattern maker (Russian interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "Turns a photo or a drawing (BMP or JPEG) into a counted cross-stitch pattern in DMC threads: \
the picture is averaged onto a grid of crosses, every cell gets the nearest of 460 DMC threads, the \
number of threads can be held to a limit, and the pattern and its key of threads are saved as \
pictures or printed. Comes with pelvano-cli, the same work without a window.")
set(CPACK_PACKAGE_CONTACT "Pelvano developers <pelvano@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/pelvano")
# What the linker cannot tell: the window needs Qt's platform plugins, and the key's text is
# drawn in DejaVu Sans.
set(pelvano_runtime_packages "qt6-qpa-plugins, fonts-dejavu-core")
# Qt's Russian texts for its own dialogs and buttons; without them those stay in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
find_program(PELVANO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PELVANO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${pelvano_runtime_packages}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libjpeg62-turbo, \
libstdc++6, libc6, ${pelvano_runtime_packages}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/build/" "/\\\\.git/")
include(CPack)
