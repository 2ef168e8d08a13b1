# The plug-in DLL, and with it its checks: the Windows test host, run under
# Wine against the DLL of the same build, and for the shipping 32-bit DLL the
# static checks of its export and import tables.

# Entry points and the bytes of arguments each removes from the stack.
set(LINTREL_EXPORTS
    TBP_GetName:8 TBP_GetVersion:8 TBP_GetInfo:8 TBP_GetMacroList:8
    TBP_NeedConfig:0 TBP_NeedCOM:0 TBP_GetStatus:0 TBP_Initialize:0 TBP_Finalize:0
    TBP_ExecMacro:16)

set(LINTREL_EXPORT_LINES "")
foreach(entry IN LISTS LINTREL_EXPORTS)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 name)
  list(GET parts 1 bytes)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # i686 decorates __stdcall names as name@bytes; export them undecorated.
    string(APPEND LINTREL_EXPORT_LINES "  ${name} = ${name}@${bytes}\n")
  else()
    string(APPEND LINTREL_EXPORT_LINES "  ${name}\n")
  endif()
endforeach()
configure_file(src/plugin/exports.def.in ${CMAKE_BINARY_DIR}/KOR_LINTREL.def @ONLY)

add_library(lintrel_plugin SHARED src/plugin/exports.cpp ${CMAKE_BINARY_DIR}/KOR_LINTREL.def)
target_link_libraries(lintrel_plugin PRIVATE lintrel_core)
set_target_properties(lintrel_plugin PROPERTIES
    PREFIX "" OUTPUT_NAME KOR_LINTREL SUFFIX .TBP
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The C++ runtime goes inside the DLL so that it loads on a bare system.
target_link_options(lintrel_plugin PRIVATE -static -static-libgcc -static-libstdc++)

enable_testing()
add_subdirectory(tests/windows)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME dll32_static_checks
           COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/check_dll32.sh
                   $<TARGET_FILE:lintrel_plugin> ${CMAKE_OBJDUMP} ${LINTREL_EXPORTS})
endif()
