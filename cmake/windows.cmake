# The Windows part, cross-built with mingw-w64 (presets win64 and win32):
# - ZQBO_DOCPLUGIN_STATI.dll, the plug-in as a COM in-process server, from the same
#   src/ as the Linux build plus src/com/;
# - test_com.exe, the COM tests: the binding's own pieces, and the registered library
#   driven across the COM boundary by the simulated host (sim/, tools/) as test host,
#   on the SQLite amalgamation made from the distribution's sqlite3 source package.
enable_language(C)
enable_language(RC)

set(CMAKE_C_FLAGS_RELEASE "-O2")
set(CMAKE_CXX_FLAGS_RELEASE "-O2")
set(ZQ_WINE_INCLUDE /usr/include/wine/wine/windows CACHE PATH "IDL includes for widl")
set(ZQ_WINE_TYPELIBS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "stdole2.tlb")
set(ZQ_SQLITE_AMALGAMATION "" CACHE PATH "Folder with sqlite3.c and sqlite3.h")
set(ZQ_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources")

# No mingw run-time DLL travels with the binaries.
set(ZQ_STATIC_LINK -static -static-libgcc -static-libstdc++)
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

# ---- type library, header and interface ids from the IDL ----
set(ZQ_GEN ${CMAKE_BINARY_DIR}/generated)
set(ZQ_IDL ${CMAKE_SOURCE_DIR}/src/com/zqbo_docplugin_stati.idl)
set(ZQ_WIDL_FLAGS ${ZQ_WIDL_TARGET} -I ${ZQ_WINE_INCLUDE} -L ${ZQ_WINE_TYPELIBS})
add_custom_command(
  OUTPUT ${ZQ_GEN}/zqbo_docplugin_stati.h ${ZQ_GEN}/zqbo_docplugin_stati_i.c
         ${ZQ_GEN}/zqbo_docplugin_stati.tlb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZQ_GEN}
  COMMAND ${ZQ_WIDL} ${ZQ_WIDL_FLAGS} -h -o ${ZQ_GEN}/zqbo_docplugin_stati.h ${ZQ_IDL}
  COMMAND ${ZQ_WIDL} ${ZQ_WIDL_FLAGS} -u -o ${ZQ_GEN}/zqbo_docplugin_stati_i.c ${ZQ_IDL}
  COMMAND ${ZQ_WIDL} ${ZQ_WIDL_FLAGS} -t -o ${ZQ_GEN}/zqbo_docplugin_stati.tlb ${ZQ_IDL}
  DEPENDS ${ZQ_IDL}
  COMMENT "widl: type library, header and interface ids")
add_custom_target(zq_idl DEPENDS ${ZQ_GEN}/zqbo_docplugin_stati.h ${ZQ_GEN}/zqbo_docplugin_stati.tlb)

# ---- the plug-in's own code, as on Linux ----
zq_sources(ZQ_CORE_SRC src/host src/data)
add_library(zq_core STATIC ${ZQ_CORE_SRC})
target_include_directories(zq_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

zq_sources(ZQ_PLUGIN_SRC src/plugin src/config src/engine src/reversal src/form src/grid)
add_library(zq_plugin STATIC ${ZQ_PLUGIN_SRC})
target_link_libraries(zq_plugin PUBLIC zq_core)

# ---- the binding: what both sides of the boundary share, and the server itself ----
set(ZQ_SERVER_ONLY plugin_object class_factory exports registration module object_factories)
file(GLOB ZQ_COM_ALL CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/com/*.cpp)
set(ZQ_BRIDGE_SRC)
set(ZQ_SERVER_SRC)
foreach(f IN LISTS ZQ_COM_ALL)
  get_filename_component(stem ${f} NAME_WE)
  if(stem IN_LIST ZQ_SERVER_ONLY)
    list(APPEND ZQ_SERVER_SRC ${f})
  else()
    list(APPEND ZQ_BRIDGE_SRC ${f})
  endif()
endforeach()

add_library(zq_com_bridge STATIC ${ZQ_BRIDGE_SRC})
target_link_libraries(zq_com_bridge PUBLIC zq_core ole32 oleaut32 uuid advapi32)

add_library(zq_com_ids STATIC ${ZQ_GEN}/zqbo_docplugin_stati_i.c)
target_include_directories(zq_com_ids PUBLIC ${ZQ_GEN})
add_dependencies(zq_com_ids zq_idl)

add_library(zqbo_docplugin_stati SHARED ${ZQ_SERVER_SRC}
            ${CMAKE_SOURCE_DIR}/src/com/zqbo_docplugin_stati.rc
            ${CMAKE_SOURCE_DIR}/src/com/zqbo_docplugin_stati.def)
set_target_properties(zqbo_docplugin_stati PROPERTIES OUTPUT_NAME ZQBO_DOCPLUGIN_STATI PREFIX "")
target_include_directories(zqbo_docplugin_stati PRIVATE ${ZQ_GEN})
target_link_libraries(zqbo_docplugin_stati PRIVATE zq_plugin zq_com_bridge zq_com_ids
                      ${ZQ_STATIC_LINK} -Wl,--enable-stdcall-fixup -Wl,--kill-at)
add_dependencies(zqbo_docplugin_stati zq_idl)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/com/zqbo_docplugin_stati.rc PROPERTIES
                            OBJECT_DEPENDS ${ZQ_GEN}/zqbo_docplugin_stati.tlb)

# ---- the COM tests ----
if(ZQ_SQLITE_AMALGAMATION AND EXISTS ${ZQ_SQLITE_AMALGAMATION}/sqlite3.c)
  add_library(zq_sqlite STATIC ${ZQ_SQLITE_AMALGAMATION}/sqlite3.c)
  target_include_directories(zq_sqlite PUBLIC ${ZQ_SQLITE_AMALGAMATION})
  target_compile_options(zq_sqlite PRIVATE -w)

  # nlohmann's JSON is header-only: its own folder, without the rest of /usr/include.
  file(COPY /usr/include/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/include-extra)

  add_library(zq_gtest STATIC ${ZQ_GTEST_SOURCE}/src/gtest-all.cc)
  target_include_directories(zq_gtest PUBLIC ${ZQ_GTEST_SOURCE}/include PRIVATE ${ZQ_GTEST_SOURCE})
  target_compile_options(zq_gtest PRIVATE -w)

  # The simulated host and the scenario runner; the plug-in itself is the registered
  # library, so sim/host/plugin_ref.cpp (which builds it in process) stays out.
  file(GLOB_RECURSE ZQ_SIM_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/*.cpp)
  list(FILTER ZQ_SIM_SRC EXCLUDE REGEX "sim/host/plugin_ref\\.cpp$")
  file(GLOB ZQ_TOOL_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
  list(FILTER ZQ_TOOL_SRC EXCLUDE REGEX "tools/(main|demo|statements)\\.cpp$")
  add_library(zq_testhost STATIC ${ZQ_SIM_SRC} ${ZQ_TOOL_SRC})
  target_include_directories(zq_testhost PUBLIC ${CMAKE_SOURCE_DIR}
                             ${CMAKE_BINARY_DIR}/include-extra)
  target_link_libraries(zq_testhost PUBLIC zq_core zq_sqlite)

  file(GLOB ZQ_COM_TEST_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/com/*.cpp)
  add_executable(test_com ${ZQ_COM_TEST_SRC})
  target_link_libraries(test_com PRIVATE zq_testhost zq_com_bridge zq_com_ids zq_gtest
                        ${ZQ_STATIC_LINK})
  add_dependencies(test_com zqbo_docplugin_stati)
  target_compile_definitions(test_com PRIVATE ZQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
