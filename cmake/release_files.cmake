# The manual page and the AppStream metadata, configured with the project's
# version and the date of its release. The date is that of the newest entry
# of packaging/changelog, not the build's, so a rebuild makes the same files;
# that entry must be for this version, so a release cannot ship without one.
include(GNUInstallDirs)

set(VT_APPSTREAM_ID example.vt_haltward.VtHaltward)
set(changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})

file(STRINGS ${changelog} changelog_lines)
list(GET changelog_lines 0 first_line)
if(NOT first_line MATCHES "^vt-haltward \\(([^)]+)\\)")
  message(FATAL_ERROR "${changelog} does not begin with a 'vt-haltward (VERSION)' entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${changelog} begins with version ${CMAKE_MATCH_1}, the project is "
                      "${PROJECT_VERSION}: add a changelog entry for this release")
endif()

set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_words January February March April May June July August September October November December)
set(VT_RELEASE_DATE "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    list(FIND month_names ${CMAKE_MATCH_2} month_index)
    if(month_index LESS 0)
      message(FATAL_ERROR "${changelog}: unknown month in '${line}'")
    endif()
    math(EXPR month "${month_index} + 1" OUTPUT_FORMAT DECIMAL)
    string(LENGTH "${month}" length)
    if(length EQUAL 1)
      set(month 0${month})
    endif()
    string(LENGTH "${day}" length)
    set(padded_day ${day})
    if(length EQUAL 1)
      set(padded_day 0${day})
    endif()
    list(GET month_words ${month_index} month_word)
    math(EXPR day "${day}" OUTPUT_FORMAT DECIMAL)
    set(VT_RELEASE_DATE ${year}-${month}-${padded_day})
    set(VT_RELEASE_DATE_MDOC "${month_word} ${day}, ${year}")
    break()
  endif()
endforeach()
if(VT_RELEASE_DATE STREQUAL "")
  message(FATAL_ERROR "${changelog}: no ' -- NAME <EMAIL>  DATE' line in its first entry")
endif()

configure_file(${PROJECT_SOURCE_DIR}/man/vt-haltward.1.in ${PROJECT_BINARY_DIR}/man/vt-haltward.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/vt-haltward.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/data/${VT_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/man/vt-haltward.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/data/${VT_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
