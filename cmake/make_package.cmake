cmake_minimum_required(VERSION 3.20)
# Writes the player guide with its version line and packs the player's zip: the plug-ins
# and the ini in scripts/, the guide and the settings inspector beside it.
file(READ ${GUIDE_SOURCE} guide)
string(REPLACE "@VERSION@" "${VERSION}" guide "${guide}")
file(WRITE ${GUIDE} "${guide}")

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/scripts)
foreach(name iii_kelvora.asi iii_kelvora.ini gps.asi)
  file(COPY ${DIST}/${name} DESTINATION ${STAGE}/scripts)
endforeach()
file(COPY ${GUIDE} ${DIST}/kelvora-ini.exe DESTINATION ${STAGE})
get_filename_component(guide_name ${GUIDE} NAME)
file(REMOVE ${ZIP})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip --mtime=2000-01-01
          scripts/iii_kelvora.asi scripts/iii_kelvora.ini scripts/gps.asi ${guide_name}
          kelvora-ini.exe
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot pack ${ZIP}")
endif()
