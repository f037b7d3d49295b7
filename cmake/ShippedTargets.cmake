# What a user runs: the programs, with the language packs, skins, images and
# PTZ drivers beside them.
#
# `ombrel_demo` builds only these (no tests, benchmarks or fuzz targets): the
# demo and a new user's first run see live pictures sooner.
set(OMBREL_PROGRAMS Ombrel dvr-emulator ddns-emulator dvrctl dvr-regedit)
set(OMBREL_DRIVER_NAMES PTZ_PELCOD PTZ_PELCO)

add_custom_target(ombrel_demo)
add_dependencies(ombrel_demo ${OMBREL_PROGRAMS} ombrel_resources)

# The drivers' folder may be added anywhere in the top CMakeLists.txt, so the
# drivers that exist are looked for once it has been read to the end.
function(ombrel_demo_add_drivers)
  foreach(driver IN LISTS OMBREL_DRIVER_NAMES)
    if(TARGET ${driver})
      add_dependencies(ombrel_demo ${driver})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL ombrel_demo_add_drivers)
