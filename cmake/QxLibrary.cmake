# One static library per source folder: every .cpp of the folder except the
# program entry main.cpp. Headers are included as "<folder>/<Header>.h" with
# shared/ and utilities/ on the include path.
function(qx_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/shared ${PROJECT_SOURCE_DIR}/utilities)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/shared ${PROJECT_SOURCE_DIR}/utilities)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# A report program: the folder's library plus its main.cpp, on mimalloc's
# heap: a report reads tens of thousands of documents, each of which comes
# and goes as a few hundred small blocks, and the C library's heap merges
# freed small blocks back whenever the driver asks for a large one. The
# sanitizers bring their own heap. Installed in bin/ under the prefix
# (cmake --install).
function(qx_report_program name)
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(${name} PRIVATE ${name}_report)
  if(QX_SANITIZE STREQUAL "")
    target_link_libraries(${name} PRIVATE mimalloc)
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
