# The Debian package: `cpack -G DEB` in a build folder makes
# ombrel_<version>_amd64.deb. The programs, language packs, skins and images
# share one folder (${OMBREL_INSTALL_DIR}, the program's own folder), the PTZ
# drivers its lib/ptz, the commands are links in bin, and the desktop entry
# and icons go where desktops look for them. Nothing is installed outside the
# prefix and there are no maintainer scripts, so removing the package leaves
# every user's settings, pictures and logs alone.
# Needs cmake/ShippedTargets.cmake (OMBREL_PROGRAMS, OMBREL_DRIVER_NAMES).

set(packaging_dir ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS ${OMBREL_PROGRAMS} RUNTIME DESTINATION ${OMBREL_INSTALL_DIR})
# Drivers are looked for once the top CMakeLists.txt has been read to the end
# (their folder may come after this file).
function(ombrel_install_drivers)
  foreach(driver IN LISTS OMBREL_DRIVER_NAMES)
    if(TARGET ${driver})
      install(TARGETS ${driver} LIBRARY DESTINATION ${OMBREL_INSTALL_DIR}/lib/ptz)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL ombrel_install_drivers)

# Commands on the PATH: relative links into the install folder, so the
# programs still find their siblings (they locate themselves through
# /proc/self/exe, which names the link's target) and an unpacked tree works.
set(command_links)
foreach(program IN LISTS OMBREL_PROGRAMS)
  string(TOLOWER ${program} command)
  set(link ${CMAKE_BINARY_DIR}/packaging/bin/${command})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/bin)
  file(CREATE_LINK ../${OMBREL_INSTALL_DIR}/${program} ${link} SYMBOLIC)
  list(APPEND command_links ${link})
endforeach()
install(FILES ${command_links} DESTINATION bin)

install(FILES ${packaging_dir}/ombrel.desktop DESTINATION share/applications)

# The icon: our drawing, rendered to the usual hicolor sizes at build time.
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_root ${CMAKE_BINARY_DIR}/packaging/icons)
add_executable(ombrel_render_icon ${packaging_dir}/render-icon.cpp)
target_link_libraries(ombrel_render_icon PRIVATE Qt6::Gui Qt6::Svg)
# A build tool, kept out of the folder that plays the install folder.
set_target_properties(ombrel_render_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
set(icon_files)
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_files ${icon_root}/${size}x${size}/apps/ombrel.png)
endforeach()
# The renderer may be built with the sanitizers; Qt's one-off allocations at
# exit are not ours to chase in a build step.
add_custom_command(OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:ombrel_render_icon> ${packaging_dir}/ombrel.svg ${icon_root} ombrel ${icon_sizes}
  DEPENDS ombrel_render_icon ${packaging_dir}/ombrel.svg
  COMMENT "Rendering the Ombrel icon")
add_custom_target(ombrel_icons ALL DEPENDS ${icon_files})
foreach(size IN LISTS icon_sizes)
  install(FILES ${icon_root}/${size}x${size}/apps/ombrel.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${packaging_dir}/ombrel.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrel)
set(CPACK_PACKAGE_VENDOR "Ombrel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client for networked digital video recorders")
set(CPACK_PACKAGE_DESCRIPTION
  "Ombrel keeps a directory of recorders, connects to up to 16 at once, shows up to 16 cameras live, plays one audio channel, takes snapshots, steers PTZ cameras, edits the recorder's configuration, uploads firmware and reads the recorder's event log. The package also holds dvr-emulator and ddns-emulator (a recorder and a DDNS service in software, on loopback), dvrctl (a command-line client) and dvr-regedit (the settings editor).")
set(CPACK_PACKAGE_CONTACT "Ombrel developers <ombrel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The skins draw SVG images through Qt's image plugin, which no program links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Chinese and Japanese packs need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
include(CPack)
