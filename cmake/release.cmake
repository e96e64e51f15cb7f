# The release: version resources for the Windows files, and the player's zip.

# Gives a Windows target a version resource with the project's version.
function(add_version_resource target description original_filename file_type)
  set(RC_DESCRIPTION "${description}")
  set(RC_ORIGINAL_FILENAME "${original_filename}")
  set(RC_INTERNAL_NAME "${target}")
  set(RC_FILE_TYPE "${file_type}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()

# dist/kelvora-<version>.zip, laid out as a player unpacks it into the game folder:
# scripts/iii_kelvora.asi, scripts/iii_kelvora.ini, scripts/gps.asi, the player guide and
# the settings inspector kelvora-ini.exe.
set(PACKAGE_NAME kelvora-${PROJECT_VERSION})
set(PACKAGE_ZIP ${DIST_DIR}/${PACKAGE_NAME}.zip)
set(PLAYER_GUIDE ${DIST_DIR}/kelvora-guide.txt)
add_custom_command(
  OUTPUT ${PACKAGE_ZIP} ${PLAYER_GUIDE}
  COMMAND ${CMAKE_COMMAND}
          -DVERSION=${PROJECT_VERSION}
          -DGUIDE_SOURCE=${PROJECT_SOURCE_DIR}/docs/player-guide.txt
          -DGUIDE=${PLAYER_GUIDE}
          -DDIST=${DIST_DIR}
          -DSTAGE=${CMAKE_BINARY_DIR}/package
          -DZIP=${PACKAGE_ZIP}
          -P ${PROJECT_SOURCE_DIR}/cmake/make_package.cmake
  DEPENDS iii_kelvora gps kelvora-ini ${PROJECT_SOURCE_DIR}/docs/player-guide.txt
          ${PROJECT_SOURCE_DIR}/camera_plugin/iii_kelvora.ini
          ${PROJECT_SOURCE_DIR}/cmake/make_package.cmake
  COMMENT "Packing ${PACKAGE_NAME}.zip")
add_custom_target(player_package ALL DEPENDS ${PACKAGE_ZIP} ${PLAYER_GUIDE})
