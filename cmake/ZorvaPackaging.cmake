# A Debian package of the whole installation: configure with -DZORVA_PACKAGE=ON
# -DCMAKE_INSTALL_PREFIX=/ and run cpack (scripts/make-package.sh does both).
if(NOT ZORVA_PACKAGE)
    return()
endif()

install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/zorva DESTINATION usr/bin)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zorva.desktop DESTINATION usr/share/applications)
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/images/zorva.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/images/zorva.png
        DESTINATION usr/share/icons/hicolor/256x256/apps)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/images/zorva.svg)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/images/zorva.svg
        DESTINATION usr/share/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorva)
set(CPACK_PACKAGE_VERSION 1306)
set(CPACK_PACKAGE_CONTACT "ZORVA developers <zorva@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Trainer for practising interpreting")
set(CPACK_PACKAGE_DESCRIPTION "ZORVA plays study materials with A-B loop marks beside their transcript\nand translation, records the learner's voice as MP3 and guides a six-step\ninterpreting training.")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The GStreamer backend is named explicitly: the VLC one ignores the player's tick interval.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "phonon4qt5-backend-gstreamer, gstreamer1.0-plugins-good, fonts-noto-cjk")
include(CPack)
