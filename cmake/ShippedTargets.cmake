# What a user runs: the programs, with the language packs, skins, images and
# PTZ drivers beside them. Included after every add_subdirectory, so that the
# drivers are seen when their folder defines them.
#
# `ombrel_demo` builds only these (no tests, benchmarks or fuzz targets): the
# demo and a new user's first run see live pictures sooner.
set(OMBREL_PROGRAMS Ombrel dvr-emulator ddns-emulator dvrctl dvr-regedit)
set(OMBREL_DRIVERS)
foreach(driver IN ITEMS PTZ_PELCOD PTZ_PELCO)
  if(TARGET ${driver})
    list(APPEND OMBREL_DRIVERS ${driver})
  endif()
endforeach()

add_custom_target(ombrel_demo)
add_dependencies(ombrel_demo ${OMBREL_PROGRAMS} ${OMBREL_DRIVERS} ombrel_resources)
