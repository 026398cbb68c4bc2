# Makes the release files from the built programs (see release.cmake):
#   cmake -DVERSION=0.99 -DVERSION_WORDS=0,99,0,0 -DSOURCE=<source folder>
#         -DOUT=<release folder> -DZENTOR32=<32-bit zentor.exe>
#         -DZENTORNT3=<zentornt3.exe> -DZENTOR64=<64-bit zentor.exe>
#         -DMAKENSIS=<makensis> -P package.cmake
# The README lists what each zip holds; a test checks the zips against it.

set(VENDOR "The Zentor developers")
set(documents README.md LICENSE)
file(GLOB docs RELATIVE ${SOURCE} ${SOURCE}/docs/*.md ${SOURCE}/docs/*.png)
list(SORT docs)
list(APPEND documents ${docs})
set(stage ${OUT}/stage)

# Puts the programs and the documents into stage/<name> and zips that folder,
# top folder included, as <name>.zip.
function(make_zip name)
  set(dir ${stage}/${name})
  file(REMOVE_RECURSE ${dir})
  foreach(program ${ARGN})
    file(COPY ${program} DESTINATION ${dir})
  endforeach()
  foreach(document ${documents})
    get_filename_component(folder ${document} DIRECTORY)
    file(COPY ${SOURCE}/${document} DESTINATION ${dir}/${folder})
  endforeach()
  file(REMOVE ${OUT}/${name}.zip)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${name}.zip --format=zip ${name}
                  WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not make ${OUT}/${name}.zip")
  endif()
endfunction()

file(MAKE_DIRECTORY ${stage})
make_zip(Zentor-${VERSION}-win32 ${ZENTOR32} ${ZENTORNT3})
make_zip(Zentor-${VERSION}-win64 ${ZENTOR64})

if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis is missing (Debian's nsis package): no installer")
endif()
set(STAGED32 ${stage}/Zentor-${VERSION}-win32)
set(STAGED64 ${stage}/Zentor-${VERSION}-win64)
set(OUTFILE ${OUT}/Zentor-${VERSION}-setup.exe)
set(ICON ${SOURCE}/res/zentor.ico)
set(LICENSE ${SOURCE}/LICENSE)
# The uninstaller removes every file either build installs, then the folders
# they stood in (only when empty).
set(DELETE_FILES "")
foreach(file zentor.exe zentornt3.exe ${documents})
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND DELETE_FILES "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
string(APPEND DELETE_FILES "  RMDir \"$INSTDIR\\docs\"")
configure_file(${SOURCE}/installer/zentor.nsi.in ${stage}/zentor.nsi @ONLY)
file(REMOVE ${OUTFILE})
execute_process(COMMAND ${MAKENSIS} -V2 -NOCD ${stage}/zentor.nsi RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "makensis could not make ${OUTFILE}")
endif()
