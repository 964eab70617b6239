# What `cmake --install` puts under the prefix: both programs, the help file where mapolin looks
# for it (<prefix>/share/mapolin/), the desktop entry, the icon, the .im file type and the
# metadata of the application. mapolin-map's own rules are in cli/.
install(TARGETS mapolin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/mapolin.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/mapolin)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/mapolin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/mapolin-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME mapolin.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/org.mapolin.Mapolin.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/mapolin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/mapolin-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME mapolin.png)
