# The release a Windows user downloads: dist/CorvantaKeyPressEmulator-<version>-win64.zip
# with the stripped program and README.txt in Windows line endings.
# Built by the target release_zip (scripts/package.sh builds it in Release).
set(RELEASE_NAME CorvantaKeyPressEmulator-${PROJECT_VERSION}-win64)
set(RELEASE_STAGE ${CMAKE_BINARY_DIR}/release/${RELEASE_NAME})
set(RELEASE_ZIP ${PROJECT_SOURCE_DIR}/dist/${RELEASE_NAME}.zip)

configure_file(${PROJECT_SOURCE_DIR}/resources/README.txt.in ${RELEASE_STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${RELEASE_ZIP}
  COMMAND ${CMAKE_STRIP} --strip-all -o ${RELEASE_STAGE}/CorvantaKeyPressEmulator.exe
    $<TARGET_FILE:CorvantaKeyPressEmulator>
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_SOURCE_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E tar cf ${RELEASE_ZIP} --format=zip CorvantaKeyPressEmulator.exe README.txt
  WORKING_DIRECTORY ${RELEASE_STAGE}
  DEPENDS CorvantaKeyPressEmulator ${RELEASE_STAGE}/README.txt
  COMMENT "Packing ${RELEASE_NAME}.zip")
add_custom_target(release_zip DEPENDS ${RELEASE_ZIP})
