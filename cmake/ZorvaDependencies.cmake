find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Widgets Network Xml Svg Test LinguistTools)
find_package(Phonon4Qt5 REQUIRED NO_MODULE)
find_package(QuaZip-Qt5 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PORTAUDIO REQUIRED IMPORTED_TARGET portaudio-2.0)
# Only to silence what PortAudio's probing of ALSA and JACK prints on the terminal.
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(JACK REQUIRED IMPORTED_TARGET jack)
# Decoding through GStreamer's decodebin into an app sink; time-stretch with SoundTouch.
pkg_check_modules(GSTREAMER REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0 gstreamer-audio-1.0)
pkg_check_modules(SOUNDTOUCH REQUIRED IMPORTED_TARGET soundtouch)
find_package(Threads REQUIRED)
# Rubber Band only for the stretch comparison bench.
pkg_check_modules(RUBBERBAND IMPORTED_TARGET rubberband)
# Update archives: Ed25519 signatures (libsodium), SHA-256 with the CPU's instructions (OpenSSL).
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
find_library(MP3LAME_LIBRARY mp3lame REQUIRED)
find_path(MP3LAME_INCLUDE_DIR lame/lame.h REQUIRED)

# LAME ships no pkg-config file or CMake package.
if(NOT TARGET Zorva::Lame)
    add_library(Zorva::Lame UNKNOWN IMPORTED)
    set_target_properties(Zorva::Lame PROPERTIES
        IMPORTED_LOCATION "${MP3LAME_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${MP3LAME_INCLUDE_DIR}")
endif()

# Phonon's target does not carry the include root that <Phonon/MediaObject> needs.
if(NOT TARGET Zorva::Phonon)
    add_library(Zorva::Phonon INTERFACE IMPORTED)
    set_target_properties(Zorva::Phonon PROPERTIES
        INTERFACE_LINK_LIBRARIES Phonon::phonon4qt5
        INTERFACE_INCLUDE_DIRECTORIES "${PHONON_INCLUDES}")
endif()
