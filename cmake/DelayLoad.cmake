# Delay-loaded system DLLs: a program linked with lv_delay_imports loads these DLLs at the
# first call into them instead of at process start, so that start-up does not pay for DLLs
# that only the download (wininet, bcrypt for the check of the finished file, wintrust and
# crypt32 for its signature), the shell, picture loading or assistive technology (ole32,
# oleacc, oleaut32: the accessible objects) need. The program restricts the search for every
# DLL it loads by name to the system folder (assistant/win32/Entry.cpp). For each DLL a
# delay-import library is made at configure time from the toolchain's import library (its
# list of functions) with dlltool; the toolchain's delay-load helper (delayimp) resolves a
# function at its first call.
set(LV_DELAY_LOADED_DLLS wininet bcrypt wintrust crypt32 shell32 shlwapi msimg32 comctl32 uxtheme
  ole32 oleacc oleaut32 gdiplus)

function(lv_make_delay_import_library dll out_var)
  find_library(import_lib NAMES lib${dll}.a ${dll} NO_CACHE REQUIRED)
  find_program(LV_NM NAMES ${CMAKE_CXX_COMPILER_TARGET}-nm x86_64-w64-mingw32-nm REQUIRED)
  find_program(LV_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  execute_process(COMMAND ${LV_NM} ${import_lib} OUTPUT_VARIABLE symbols
                  ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE "^I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(JOIN imports "\n" exports)
  file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${LV_DLLTOOL} --input-def ${def} --dllname ${dll}.dll
                          --output-delaylib ${lib} COMMAND_ERROR_IS_FATAL ANY)
  set(${out_var} ${lib} PARENT_SCOPE)
endfunction()

add_library(lv_delay_imports INTERFACE)
foreach(dll IN LISTS LV_DELAY_LOADED_DLLS)
  lv_make_delay_import_library(${dll} lib)
  target_link_libraries(lv_delay_imports INTERFACE ${lib})
endforeach()
target_link_libraries(lv_delay_imports INTERFACE delayimp)
