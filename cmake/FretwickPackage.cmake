# The Debian package, built by scripts/package with `cpack -G DEB` from a Release build
# configured for the prefix /usr. Its Depends are computed from the program's shared libraries
# (Qt 6, FluidSynth, RtMidi) by dpkg-shlibdeps, plus the soundfont the built-in synthesizer
# plays.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fretwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Fretwick Developers")
set(CPACK_PACKAGE_CONTACT "Fretwick Developers <dev@fretwick.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://fretwick.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
# CPack indents the lines after the first itself and writes an empty line as " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "chord list editor and tablature for the five-string banjo
Fretwick is a desktop program for players of the five-string banjo. Music
is written as a list of chords, one line per chord, by typing or by
clicking notes onto a picture of the neck, in open G, double C, open D or
any other tuning.

Songs play through a built-in General MIDI synthesizer or an external MIDI
instrument, print as graphic tablature, and export as ASCII tablature,
MIDI, MusicXML, WAV or PDF. Example songs come with the program.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
