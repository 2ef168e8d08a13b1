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

add_library(lintrel_plugin SHARED src/plugin/exports.cpp src/plugin/terminate_handler.cpp
                                  ${CMAKE_BINARY_DIR}/KOR_LINTREL.def)
target_link_libraries(lintrel_plugin PRIVATE lintrel_core)
set_target_properties(lintrel_plugin PROPERTIES
    PREFIX "" OUTPUT_NAME KOR_LINTREL SUFFIX .TBP
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The C++ runtime goes inside the DLL so that it loads on a bare system.
target_link_options(lintrel_plugin PRIVATE -static -static-libgcc -static-libstdc++)
# Only what is used is linked: one section per function and object, unused
# ones dropped (the unwind tables keep most code that has any alive here, so
# this saves a few KiB only). No link time in the header, so that the same
# sources always give the same bytes.
target_compile_options(lintrel_core PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(lintrel_plugin PRIVATE -ffunction-sections -fdata-sections)
target_link_options(lintrel_plugin PRIVATE -Wl,--gc-sections -Wl,--no-insert-timestamp)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The linker would derive the preferred load address from the output path
  # as written on its command line; this is the one that path has always
  # given, fixed so that how the linker is called cannot change the bytes.
  target_link_options(lintrel_plugin PRIVATE -Wl,--image-base,0x6ae80000)
endif()

# The DLL at its target path is the one that ships and that the tests load:
# without symbols or debug information. Its unstripped twin, the same code
# with both, stays beside it for debugging. Stripping keeps the header's
# (zero) time stamp instead of writing the present time.
set(LINTREL_DEBUG_DLL ${CMAKE_BINARY_DIR}/bin/KOR_LINTREL.debug.TBP)
add_custom_command(TARGET lintrel_plugin POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:lintrel_plugin> ${LINTREL_DEBUG_DLL}
    COMMAND ${CMAKE_STRIP} --strip-all --preserve-dates $<TARGET_FILE:lintrel_plugin>
    VERBATIM)

enable_testing()
add_subdirectory(tests/windows)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME dll32_static_checks
           COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/check_dll32.sh
                   $<TARGET_FILE:lintrel_plugin> ${CMAKE_OBJDUMP} ${LINTREL_EXPORTS})
  set_tests_properties(dll32_static_checks PROPERTIES ENVIRONMENT DLL_SYMBOLS=${LINTREL_DEBUG_DLL})
  add_test(NAME dll32_shipping_checks
           COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_shipped_dll.sh
                   $<TARGET_FILE:lintrel_plugin> ${LINTREL_DEBUG_DLL} ${CMAKE_OBJDUMP}
                   ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
endif()
