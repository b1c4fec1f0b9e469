# The Windows executable's resources (icon 1, which the window class loads, and the version
# information) and the zip CPack makes: Shardfall-<version>-win64.zip holding one folder with
# Shardfall.exe, config.cfg, Shardfall.pxa, Shardfall/about.html and README.txt.
# Included by cmake/Win32Build.cmake; the icon comes from the Linux build's asset generator.
enable_language(RC)

set(SF_WIN32_ICON ${CMAKE_SOURCE_DIR}/build/icons/shardfall.ico CACHE FILEPATH
    "The .ico made by the Linux build (assetgen --icons)")
if(EXISTS ${SF_WIN32_ICON})
  set(SF_ICON_LINE "1 ICON \"${SF_WIN32_ICON}\"")
else()
  message(WARNING "No ${SF_WIN32_ICON}: Shardfall.exe gets no icon (build the Linux assets target first)")
  set(SF_ICON_LINE "")
endif()
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/Shardfall.rc.in ${CMAKE_BINARY_DIR}/Shardfall.rc @ONLY)
target_sources(Shardfall PRIVATE ${CMAKE_BINARY_DIR}/Shardfall.rc)
if(EXISTS ${SF_WIN32_ICON})
  set_source_files_properties(${CMAKE_BINARY_DIR}/Shardfall.rc PROPERTIES OBJECT_DEPENDS ${SF_WIN32_ICON})
endif()

configure_file(${CMAKE_SOURCE_DIR}/dist/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Shardfall RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/content/config.cfg ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${SF_WIN32_DATA_DIR}/Shardfall.pxa DESTINATION .)
install(FILES ${SF_WIN32_DATA_DIR}/Shardfall/about.html DESTINATION Shardfall)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Shardfall)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_FILE_NAME Shardfall-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
