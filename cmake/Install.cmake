# What `cmake --install` and the package put where. The desktop files use the
# reverse-DNS id; the documentation folder is named after the package.
include(GNUInstallDirs)

set(VORLIX_APP_ID org.vorlix.vorlix)
set(VORLIX_ICON_SIZES 16 22 24 32 48 64 128 256)
set(dist ${PROJECT_SOURCE_DIR}/dist)
set(dist_out ${PROJECT_BINARY_DIR}/dist)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlix)

# The version --version prints.
target_compile_definitions(vorlix_cli_lib PRIVATE VORLIX_VERSION="${PROJECT_VERSION}")

# Man pages and the changelog go in compressed, without a time stamp in the
# gzip header, so that two builds give the same bytes.
set(compressed)
foreach(page vorlix-cli.1 vorlix.1 changelog)
    if(page STREQUAL "vorlix.1" AND NOT TARGET vorlix)
        continue()
    endif()
    add_custom_command(OUTPUT ${dist_out}/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${dist}/${page} ${dist_out}/${page}
        COMMAND gzip -9nf ${dist_out}/${page}
        DEPENDS ${dist}/${page}
        VERBATIM)
    list(APPEND compressed ${dist_out}/${page}.gz)
endforeach()
add_custom_target(vorlix_dist ALL DEPENDS ${compressed})

install(TARGETS vorlix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${dist_out}/vorlix-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist}/copyright ${dist_out}/changelog.gz DESTINATION ${doc_dir})

if(TARGET vorlix)
    target_compile_definitions(vorlix PRIVATE VORLIX_VERSION="${PROJECT_VERSION}")

    # The theme sizes are made from the program's own icon at build time.
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    set(icon_source ${PROJECT_SOURCE_DIR}/src/shell/resources/vorlix.png)
    add_executable(vorlix-icon-sizes ${dist}/IconSizes.cpp)
    target_link_libraries(vorlix-icon-sizes PRIVATE vorlix_options Qt6::Gui)
    set(icons)
    foreach(size IN LISTS VORLIX_ICON_SIZES)
        list(APPEND icons ${dist_out}/icons/${size}x${size}/apps/${VORLIX_APP_ID}.png)
    endforeach()
    add_custom_command(OUTPUT ${icons}
        COMMAND vorlix-icon-sizes ${icon_source} ${dist_out}/icons ${VORLIX_APP_ID}
                ${VORLIX_ICON_SIZES}
        DEPENDS vorlix-icon-sizes ${icon_source}
        VERBATIM)
    add_custom_target(vorlix_icons ALL DEPENDS ${icons})

    install(TARGETS vorlix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${dist_out}/vorlix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${dist}/${VORLIX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${dist}/${VORLIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
    install(DIRECTORY ${dist_out}/icons/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
endif()
