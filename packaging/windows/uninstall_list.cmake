# Writes the uninstaller's lines that remove what the installed folder STAGE
# holds, into OUTPUT: every file, then every folder, each after the folders
# inside it. The installer copies the same folder, so the two never differ.
file(GLOB_RECURSE entries RELATIVE ${STAGE} LIST_DIRECTORIES true ${STAGE}/*)
list(SORT entries)
list(REVERSE entries)
set(files "")
set(folders "")
foreach(entry IN LISTS entries)
  string(REPLACE "/" "\\" windows_path "${entry}")
  if(IS_DIRECTORY ${STAGE}/${entry})
    string(APPEND folders "  RMDir \"$INSTDIR\\${windows_path}\"\n")
  else()
    string(APPEND files "  Delete \"$INSTDIR\\${windows_path}\"\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${files}${folders}")
