# What Windows shows of a program before it runs: the icon in Explorer and on the taskbar, the
# version information of its Properties, and the manifest (app/win32/brennic.manifest.in) that
# the loader reads. mingw-w64's windres compiles them into the .exe.
enable_language(RC)

# The icon is the Linux desktop icon, drawn at the sizes Windows asks for; 256 pixels are kept
# as PNG inside the .ico, as Windows expects of that size. Made when CMake configures.
find_program(BRENNIC_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(BRENNIC_ICOTOOL icotool REQUIRED)
set(brennic_svg ${PROJECT_SOURCE_DIR}/packaging/brennic.svg)
set(BRENNIC_ICON_FILE ${CMAKE_BINARY_DIR}/resources/brennic.ico)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${brennic_svg})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/resources)
set(brennic_icon_pictures)
foreach(size 16 24 32 48 256)
    set(picture ${CMAKE_BINARY_DIR}/resources/brennic-${size}.png)
    execute_process(COMMAND ${BRENNIC_RSVG_CONVERT} --width=${size} --height=${size}
                            --output=${picture} ${brennic_svg}
                    COMMAND_ERROR_IS_FATAL ANY)
    if(size EQUAL 256)
        list(APPEND brennic_icon_pictures --raw=${picture})
    else()
        list(APPEND brennic_icon_pictures ${picture})
    endif()
endforeach()
execute_process(COMMAND ${BRENNIC_ICOTOOL} --create --output=${BRENNIC_ICON_FILE}
                        ${brennic_icon_pictures}
                COMMAND_ERROR_IS_FATAL ANY)

# FILEVERSION takes four numbers: 0.1 is 0,1,0,0.
set(BRENNIC_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        string(APPEND BRENNIC_VERSION_NUMBERS ",0")
    else()
        string(APPEND BRENNIC_VERSION_NUMBERS ",${PROJECT_VERSION_${part}}")
    endif()
endforeach()
string(REPLACE "," "." BRENNIC_VERSION_DOTTED ${BRENNIC_VERSION_NUMBERS})

# Gives TARGET (brennic or brennic-cli) the icon, the version information with DESCRIPTION as
# what Explorer calls its file description, and the manifest.
function(brennic_windows_resources target description)
    set(BRENNIC_PROGRAM ${target})
    set(BRENNIC_FILE_DESCRIPTION ${description})
    set(folder ${PROJECT_SOURCE_DIR}/app/win32)
    set(BRENNIC_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${folder}/brennic.manifest.in ${BRENNIC_MANIFEST_FILE} @ONLY)
    configure_file(${folder}/Resources.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    # windres follows #include but not the files the script names: a new icon or manifest
    # rebuilds the resources all the same.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${BRENNIC_ICON_FILE};${BRENNIC_MANIFEST_FILE}")
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
